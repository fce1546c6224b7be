#include "settings/Settings.h"

#include <array>

#include "platform/CodePage.h"
#include "platform/ProgramPaths.h"
#include "settings/SettingsFileName.h"

std::string ExeFileName;
std::string IniFileName;
std::unique_ptr<TIniFile> IniFile;

namespace {

constexpr const char* kSection = "config";

struct TSettingsKey {
    int EditNumber; // the key is "name" followed by this number
    const char* Default;
};

constexpr std::array<TSettingsKey, 12> kKeys = {{
    {1, "$#$"},
    {4, "$#$"},
    {6, "$#$"},
    {8, "$#$"},
    {2, ""},
    {5, ""},
    {7, ""},
    {9, ""},
    {3, ".html"},
    {10, ".html"},
    {11, ".html"},
    {12, ".html"},
}};

std::string KeyName(const TSettingsKey& key) {
    return "name" + std::to_string(key.EditNumber);
}

// Creates IniFile for one operation and releases it however the operation ends.
class TIniFileInUse {
public:
    explicit TIniFileInUse(const std::string& fileName) {
        IniFile = std::make_unique<TIniFile>(fileName);
    }
    ~TIniFileInUse() { IniFile.reset(); }
    TIniFileInUse(const TIniFileInUse&) = delete;
    TIniFileInUse& operator=(const TIniFileInUse&) = delete;
};

} // namespace

void ReadSettings(const std::string& iniFileName, TRuleFields& fields) {
    const TIniFileInUse inUse(iniFileName);
    for (const TSettingsKey& key : kKeys) {
        fields.SetText(key.EditNumber, IniFile->ReadString(kSection, KeyName(key), key.Default));
    }
}

void WriteSettings(const std::string& iniFileName, const TRuleFields& fields) {
    const TIniFileInUse inUse(iniFileName);
    for (const TSettingsKey& key : kKeys) {
        IniFile->WriteString(kSection, KeyName(key), fields.GetText(key.EditNumber));
    }
}

void LoadSettings(TRuleFields& fields) {
    ExeFileName = ExeFileNameOf(ProgramFilePath(), TCodePage::FromLocale());
    IniFileName = IniFileNameOf(ExeFileName);
    ReadSettings(IniFileName, fields);
}

void SaveSettings(const TRuleFields& fields) {
    if (IniFileName.empty()) {
        return;
    }
    WriteSettings(IniFileName, fields);
}
