#include "cli/CliRules.h"

namespace {
constexpr const char* kDefaultSearch = "$#$";
constexpr const char* kDefaultFilter = ".html";
} // namespace

TReplacePairs PairsOrDefaults(const std::vector<std::pair<std::string, std::string>>& given) {
    TReplacePairs pairs;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (given.empty()) {
            pairs[i] = {kDefaultSearch, ""};
        } else if (i < given.size()) {
            pairs[i] = {given[i].first, given[i].second};
        }
    }
    return pairs;
}

TFileFilters FiltersOrDefaults(const std::vector<std::string>& given) {
    TFileFilters filters;
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (given.empty()) {
            filters[i] = kDefaultFilter;
        } else if (i < given.size()) {
            filters[i] = given[i];
        }
    }
    return filters;
}
