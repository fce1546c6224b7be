#pragma once

#include <string>

// An INI file reached through the profile service by name; a bare name lies in the
// configuration directory. Creating the object touches no file.
class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
    // Runs UpdateFile.
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return FFileName; }

    // The stored value of ident in section (at most 2047 bytes), or defaultValue.
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) const;
    // Stores value as ident in section; raises EIniFileException "Unable to write to %s"
    // with the file name given at creation when the service refuses.
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value);
    // Asks the service to write out what it holds for the file; the answer is not looked at.
    void UpdateFile();

private:
    std::string FFileName;
};
