#pragma once
// The arithmetic of the social insurance contributions of a monthly row, kept apart from the
// save rule's reads and checks so that every figure can be followed to the cent.

class Contribution
{
public:
    // A rate used as a whole number: the nearest one, a half going to the even neighbour
    // (6.5 is 6, 7.5 is 8). Not Round2, which sends a half away from zero.
    static double wholeRate(double rate);

    // The base of a percentage: the pay fund minus the benefit; the whole pay fund for
    // declaration years before 2003, except 1999 and January to May of 2000.
    static double base(double payFund, double benefit, int declarationYear, int month);

    // Round2((base / 100) * wholeRate(rate)): the base divided by 100 first, then times the rate.
    static double percent(double base, double rate);

    // What the year-to-date ceiling still allows a row: months × ceiling − their
    // contributions, plus one more ceiling when no other row of the row's month carries one;
    // never below 0.
    static double yearToDateAllowance(double months, double ceiling, double paid, bool monthHasOther);

    // Whether the monthly ceiling applies to a declaration year at all (2004 to 2016).
    static bool ceilingYear(int declarationYear) { return declarationYear >= 2004 && declarationYear <= 2016; }

    // Up to 2007 the ceiling is a plain monthly cap; from 2008 it counts the months of the
    // year (the allowance above) and a year over it is warned about.
    static bool yearToDateCeiling(int selectedYear) { return selectedYear > 2007; }

    // A contribution above the allowance becomes the allowance (rounded); one within it stays.
    static double withinAllowance(double contribution, double allowance);

    // The months whose ceilings the year's contributions are measured against: the months of
    // the other rows, plus the row's own when no other row of its month carries a contribution.
    static double monthsWithRow(double otherMonths, bool monthHasOther)
    {
        return monthHasOther ? otherMonths : otherMonths + 1;
    }

    // Whether the contributions of the year with this row's go over months × ceiling, compared
    // to the cent: a year exactly at its ceiling is not over it, whatever the binary sum.
    static bool yearOverCeiling(double paid, double contribution, double ceiling, double months);

    // A yearly amount's share of one month: Round2(amount / 12).
    static double monthlyShare(double yearlyAmount);

    // A yearly amount ("L") sets the individual contribution from 2006.
    static bool yearlyAmountYear(int selectedYear) { return selectedYear >= 2006; }
};
