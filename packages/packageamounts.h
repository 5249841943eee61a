#pragma once
// The four money amounts of a line of the electronic package, and how the package adds them
// up: a monthly row adds each amount rounded to two decimals by Round2 (category 150 outside
// the pay fund), a declaration's sums go into its package as they are, and the header adds
// each package's sums rounded. Nothing else is rounded until the money format writes a value,
// which keeps ten significant digits. The writer of the files counts this way and so does the
// check that reads them back, so that both arrive at the same figures to the last digit.

#include <QtGlobal>

class PackageAmounts
{
public:
    enum Amount { PayFund, Ill, Individual, Employer };

    double payFund = 0, ill = 0, individual = 0, employer = 0;

    // By Amount, for rules that treat the four alike.
    double &operator[](int amount);
    double operator[](int amount) const { return const_cast<PackageAmounts &>(*this)[amount]; }

    // A monthly row of the category, its amounts as stored.
    void addRow(double rowPayFund, double rowIll, double rowIndividual, double rowEmployer, qint64 category);
    // Sums added as they are: a declaration's into its package.
    void add(const PackageAmounts &sums);
    // Sums added each rounded to two decimals: a package's into the header.
    void addRounded(const PackageAmounts &sums);

    // The total contribution of these sums (of a declaration, a package, the header).
    double total() const { return individual + employer; }
    // The total contribution of a monthly row: its two contributions each rounded.
    static double rowTotal(double rowIndividual, double rowEmployer);
};
