#pragma once
// How a sub-detail band finds its rows: given the master source standing on its current row,
// the link returns the source of that row's detail lines (borrowed; valid until the next call).

#include <functional>

class ReportSource;

using ReportDetailLink = std::function<ReportSource *(ReportSource &master)>;
