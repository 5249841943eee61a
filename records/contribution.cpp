#include "records/contribution.h"
#include "data/helpers.h"

#include <cmath>

double Contribution::wholeRate(double rate)
{
    const double down = std::floor(rate);
    const double rest = rate - down;
    if (rest < 0.5)
        return down;
    if (rest > 0.5)
        return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

double Contribution::base(double payFund, double benefit, int declarationYear, int month)
{
    const bool wholePayFund =
        declarationYear < 2003 && declarationYear != 1999 && !(declarationYear == 2000 && month < 6);
    return wholePayFund ? payFund : payFund - benefit;
}

double Contribution::percent(double base, double rate)
{
    return Round2((base / 100) * wholeRate(rate));
}

double Contribution::yearToDateAllowance(double months, double ceiling, double paid, bool monthHasOther)
{
    double allowance = months * ceiling - paid;
    if (!monthHasOther)
        allowance += ceiling;
    return allowance < 0 ? 0 : allowance;
}

double Contribution::withinAllowance(double contribution, double allowance)
{
    return contribution > allowance ? Round2(allowance) : contribution;
}

bool Contribution::yearOverCeiling(double paid, double contribution, double ceiling, double months)
{
    return Round2(paid + contribution) > Round2(ceiling * months);
}

double Contribution::monthlyShare(double yearlyAmount)
{
    return Round2(yearlyAmount / 12);
}
