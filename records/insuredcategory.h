#pragma once
// Most categories of insured persons differ only by their rates in the classifier; these few
// have rules of their own in the declaration and monthly-row rules, named here once.

namespace InsuredCategory {

// Employees under an individual labour contract: the category of a new declaration.
inline constexpr int Employee = 101;
// Pay calculated afterwards for earlier periods: its period may begin before the row's month.
inline constexpr int BackPay = 105;
// Payments outside the pay fund: left out of the pay-fund totals.
inline constexpr int OutsidePayFund = 150;
// Sickness benefit paid from the social insurance budget: the whole pay fund is benefit, the
// rate carries no contributions, and the period may begin before the row's month.
inline constexpr int BenefitFromBudget = 153;
// Sickness benefit paid by the employer: the whole pay fund is benefit, no contributions.
inline constexpr int BenefitFromEmployer = 154;
// Maternity leave and leave without pay: no amounts at all; the period may span months.
inline constexpr int MaternityLeave = 157;
inline constexpr int UnpaidLeave = 158;

// The whole pay fund of a row is sickness benefit.
inline bool wholePayIsBenefit(double category)
{
    return category == BenefitFromBudget || category == BenefitFromEmployer;
}
// A rate row of this category zeroes the contributions.
inline bool rateZeroesContributions(double category)
{
    return wholePayIsBenefit(category);
}
// Pay fund, benefit and contributions are all 0, and the period may span months and years.
inline bool carriesNoAmounts(double category)
{
    return category == MaternityLeave || category == UnpaidLeave;
}
// The period of a row may begin before the first day of the row's month.
inline bool mayBeginBeforeMonth(double category)
{
    return category == BenefitFromBudget || category == BackPay;
}
// The pay fund counts in the totals of the monthly rows.
inline bool countsInPayFundTotal(double category)
{
    return category != OutsidePayFund;
}

} // namespace InsuredCategory
