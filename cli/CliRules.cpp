#include "cli/CliRules.h"

#include <array>

#include "settings/Settings.h"

namespace {
// Fields of the window's rule set, by pair and by filter.
constexpr std::array<std::pair<int, int>, 4> kPairFields = {{{1, 2}, {4, 5}, {6, 7}, {8, 9}}};
constexpr std::array<int, 4> kFilterFields = {3, 10, 11, 12};
} // namespace

TRuleFieldTexts SavedRules(const std::string& iniFileName) {
    TRuleFieldTexts rules;
    ReadSettings(iniFileName, rules);
    return rules;
}

TReplacePairs PairsOrSaved(const std::vector<std::pair<std::string, std::string>>& given,
                           const TRuleFields& saved) {
    TReplacePairs pairs;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (given.empty()) {
            pairs[i] = {saved.GetText(kPairFields[i].first), saved.GetText(kPairFields[i].second)};
        } else if (i < given.size()) {
            pairs[i] = {given[i].first, given[i].second};
        }
    }
    return pairs;
}

TFileFilters FiltersOrSaved(const std::vector<std::string>& given, const TRuleFields& saved) {
    TFileFilters filters;
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (given.empty()) {
            filters[i] = saved.GetText(kFilterFields[i]);
        } else if (i < given.size()) {
            filters[i] = given[i];
        }
    }
    return filters;
}

TReplacePairs PairsOrDefaults(const std::vector<std::pair<std::string, std::string>>& given) {
    return given.empty() ? PairsOrSaved(given, SavedRules(kWindowIniFileName))
                         : PairsOrSaved(given, TRuleFieldTexts());
}

TFileFilters FiltersOrDefaults(const std::vector<std::string>& given) {
    return given.empty() ? FiltersOrSaved(given, SavedRules(kWindowIniFileName))
                         : FiltersOrSaved(given, TRuleFieldTexts());
}
