#include "settings/SettingsFileName.h"

#include "platform/CodePage.h"

std::string ExeFileNameOf(std::string_view programPath, const TCodePage& codePage) {
    std::size_t nameStart = 0;
    for (std::size_t pos = 0; pos < programPath.size();) {
        const std::size_t length = codePage.CharLength(programPath, pos);
        const char c = programPath[pos];
        if (length == 1 && (c == '/' || c == '\\' || c == ':')) {
            nameStart = pos + 1;
        }
        pos += length;
    }
    std::string name(programPath.substr(nameStart));
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 0x20);
        }
    }
    return name;
}

std::string IniFileNameOf(std::string_view exeFileName) {
    if (exeFileName.find('.') == std::string_view::npos) {
        return std::string(exeFileName) + ".ini";
    }
    const std::size_t kept = exeFileName.size() > 3 ? exeFileName.size() - 3 : 0;
    return std::string(exeFileName.substr(0, kept)) + "ini";
}
