#pragma once

#include <memory>
#include <string>

#include "settings/IniFile.h"
#include "settings/RuleFields.h"

// The program file's name, lower-cased ("rodovu.exe"); set by LoadSettings.
extern std::string ExeFileName;
// The settings file's name without a directory ("rodovu.ini"); set by LoadSettings, used by
// SaveSettings, never recomputed.
extern std::string IniFileName;
// The settings object in use, only while one of the operations below runs.
extern std::unique_ptr<TIniFile> IniFile;

// Forms ExeFileName and IniFileName from the running program file, then reads the twelve
// fields from section "config" of the settings file, each missing key giving its default
// ("$#$" for the search texts, empty for the replacements, ".html" for the filters). Reports
// no failure.
void LoadSettings(TRuleFields& fields);

// Writes the twelve fields to IniFileName. A refused write raises EIniFileException
// "Unable to write to <IniFileName>"; the keys after it are not written. When LoadSettings
// never ran, the fields hold no loaded values and nothing is written.
void SaveSettings(const TRuleFields& fields);

// The two halves that work on a given settings file name (a bare name lies in the
// configuration directory), in the same key order: name1, name4, name6, name8 (search
// texts), name2, name5, name7, name9 (replacements), name3, name10, name11, name12 (filters).
void ReadSettings(const std::string& iniFileName, TRuleFields& fields);
void WriteSettings(const std::string& iniFileName, const TRuleFields& fields);
