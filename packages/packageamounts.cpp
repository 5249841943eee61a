#include "packages/packageamounts.h"
#include "data/helpers.h"
#include "records/insuredcategory.h"

double &PackageAmounts::operator[](int amount)
{
    switch (amount) {
    case PayFund:
        return payFund;
    case Ill:
        return ill;
    case Individual:
        return individual;
    default:
        return employer;
    }
}

void PackageAmounts::addRow(double rowPayFund, double rowIll, double rowIndividual, double rowEmployer, qint64 category)
{
    if (InsuredCategory::countsInPayFundTotal(double(category)))
        payFund += Round2(rowPayFund);
    ill += Round2(rowIll);
    employer += Round2(rowEmployer);
    individual += Round2(rowIndividual);
}

void PackageAmounts::add(const PackageAmounts &sums)
{
    payFund += sums.payFund;
    ill += sums.ill;
    individual += sums.individual;
    employer += sums.employer;
}

void PackageAmounts::addRounded(const PackageAmounts &sums)
{
    payFund += Round2(sums.payFund);
    ill += Round2(sums.ill);
    individual += Round2(sums.individual);
    employer += Round2(sums.employer);
}

double PackageAmounts::rowTotal(double rowIndividual, double rowEmployer)
{
    return Round2(rowIndividual) + Round2(rowEmployer);
}
