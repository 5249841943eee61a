#pragma once
// One line of a package file cut into its fields. The fields are views into the member's
// bytes, good while the line is being checked.

#include <string_view>
#include <vector>

struct FileLine {
    int number = 0; // from 1
    std::vector<std::string_view> fields;

    // Field `i`, counted from 1 as the findings count it.
    std::string_view field(int i) const { return fields[size_t(i - 1)]; }
};
