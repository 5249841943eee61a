#pragma once
// Declarations reach the authority in packages of at most 50; saving, deleting and older data
// leave packages over-full, under-full or empty, and this pass regroups a year's declarations.

#include <functional>

namespace PackageForming {

// Regroups the declarations of the selected year of the current agent into packages of at
// most kPackageCapacity, each step committed on its own, under the wait cursor. Removes the
// declarations without monthly rows, marks the year's declarations as packaged, deletes the
// packages left empty and sets the package generator to the largest package. A person of the
// agent born after the server date is reported once the packages are formed. The user sees
// the steps by name, and the declarations moved counted, as progress. When given, stepStarted
// is told the number (2 to 14) of each step as it begins.
void run(const std::function<void(int step)> &stepStarted = {});

} // namespace PackageForming
