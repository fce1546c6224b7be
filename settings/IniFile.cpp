#include "settings/IniFile.h"

#include <array>

#include "platform/Exceptions.h"
#include "platform/ProfileService.h"

TIniFile::~TIniFile() {
    UpdateFile();
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) const {
    std::array<char, 2048> buffer;
    const std::size_t copied =
        GetPrivateProfileStringA(section.c_str(), ident.c_str(), defaultValue.c_str(),
                                 buffer.data(), buffer.size(), FFileName.c_str());
    return std::string(buffer.data(), copied);
}

void TIniFile::WriteString(const std::string& section, const std::string& ident,
                           const std::string& value) {
    if (!WritePrivateProfileStringA(section.c_str(), ident.c_str(), value.c_str(),
                                    FFileName.c_str())) {
        throw EIniFileException(FFileName);
    }
}

void TIniFile::UpdateFile() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FFileName.c_str());
}
