#pragma once

#include <string>
#include <utility>
#include <vector>

#include "text/Filter.h"
#include "text/Replace.h"

// The rules of a run: those given on the command line, and for what is not given, the
// window's defaults. Pairs and filters not given stay empty and so never match.
TReplacePairs PairsOrDefaults(const std::vector<std::pair<std::string, std::string>>& given);
TFileFilters FiltersOrDefaults(const std::vector<std::string>& given);
