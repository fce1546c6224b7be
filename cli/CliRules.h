#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/RuleFields.h"
#include "text/Filter.h"
#include "text/Replace.h"

// The settings file of the window program zeroraz. The command line takes the rules the
// window saved there, under the window's name and not its own; it never writes the file.
inline constexpr const char* kWindowIniFileName = "zeroraz.ini";

// The twelve rule texts as the window shows them at its start: read from the settings file
// iniFileName (a bare name lies in the configuration directory), each missing key giving
// the window's default.
TRuleFieldTexts SavedRules(const std::string& iniFileName);

// The rules of a run: those given on the command line; when none of a kind are given, the
// saved ones. Of a kind given only in part, the rest stay empty and so never match.
TReplacePairs PairsOrSaved(const std::vector<std::pair<std::string, std::string>>& given,
                           const TRuleFields& saved);
TFileFilters FiltersOrSaved(const std::vector<std::string>& given, const TRuleFields& saved);

// The same with the rules saved in kWindowIniFileName, read only when needed.
TReplacePairs PairsOrDefaults(const std::vector<std::pair<std::string, std::string>>& given);
TFileFilters FiltersOrDefaults(const std::vector<std::string>& given);
