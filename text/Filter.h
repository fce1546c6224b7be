#pragma once

#include <array>
#include <string>
#include <string_view>

// The four file-name filters, tried in this order.
using TFileFilters = std::array<std::string, 4>;

// Whether any filter occurs in the full path as a run of bytes, exact case; an empty
// filter never matches.
bool PathMatchesFilters(std::string_view path, const TFileFilters& filters);
