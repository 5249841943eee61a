#pragma once
// How much of a payroll file is read at most. The files come from another program and may be
// damaged or made to harm; the bounds are those of a large employer's export of a whole year
// (some 10 000 employees, twelve months) with a margin, so that no real file reaches them while
// a file that would take the memory of the computer or hours of work is refused at once.

#include <cstdint>

namespace PayrollLimits {

constexpr std::int64_t kFileBytes = 64ll << 20;      // the file as it lies on disk
constexpr std::int64_t kMemberBytes = 256ll << 20;   // one part of a spreadsheet, unpacked
constexpr std::int64_t kUnpackedBytes = 320ll << 20; // all parts read from a spreadsheet, unpacked
constexpr int kMembers = 10000;                      // parts of a spreadsheet's archive
constexpr int kLines = 200000;                       // lines (rows) with something in them
constexpr int kColumns = 256;                        // columns of a line
constexpr std::int64_t kCells = 5000000;             // cells kept, empty ones between others included
constexpr int kCellChars = 1000;                     // characters of one cell
constexpr int kXmlDepth = 256;                       // nesting of the elements of a spreadsheet part

} // namespace PayrollLimits
