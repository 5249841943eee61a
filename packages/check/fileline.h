#pragma once
// One line of a package file cut into its fields. The fields are views into the member's
// bytes, good while the line is being checked; a field's money is read once for all the rules
// that ask for it.

#include "packages/check/packagevalues.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

struct FileLine {
    int number = 0; // from 1
    std::vector<std::string_view> fields;

    // Field `i`, counted from 1 as the findings count it.
    std::string_view field(int i) const { return fields[size_t(i - 1)]; }

    // Field `i` as money (PackageValues::money).
    std::optional<double> money(int i) const
    {
        const unsigned bit = 1u << (i - 1);
        if (!(m_read & bit)) {
            m_money[size_t(i - 1)] = PackageValues::money(field(i));
            m_read |= bit;
        }
        return m_money[size_t(i - 1)];
    }

    // A new line in the same object: its fields and nothing read of them.
    void clear()
    {
        fields.clear();
        m_read = 0;
    }

private:
    // The most fields a line has (REV5_T); which of them are read, a bit each.
    mutable std::array<std::optional<double>, 14> m_money;
    mutable unsigned m_read = 0;
};
