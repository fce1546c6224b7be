#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include <stdlib.h>

// A fresh directory for one test, removed with everything in it afterwards.
class TTempDir {
public:
    TTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zeroraz-test-XXXXXX").string();
        FPath = ::mkdtemp(pattern.data());
    }
    ~TTempDir() {
        std::error_code ignored;
        // Read-only leftovers must not stop the clean-up.
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return FPath; }
    std::string operator/(std::string_view name) const { return FPath + "/" + std::string(name); }

    // Writes bytes to a file below the directory, making parent directories; answers its path.
    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string path = *this / name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary).write(bytes.data(),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::string FPath;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
