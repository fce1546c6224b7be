#include "platform/ProgramPaths.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kDeletedSuffix = " (deleted)";

std::string LinkTarget(const char* link) {
    std::vector<char> buffer(256);
    while (true) {
        const ssize_t got = ::readlink(link, buffer.data(), buffer.size());
        if (got < 0) {
            return {};
        }
        if (static_cast<std::size_t>(got) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(got));
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        return entry->pw_dir;
    }
    return {};
}

} // namespace

std::string ProgramFilePath() {
    std::string path = LinkTarget("/proc/self/exe");
    if (path.empty()) {
        return program_invocation_name != nullptr ? program_invocation_name : "";
    }
    // A program file replaced while it runs (an upgrade) is reported with this suffix; its
    // name is still the one it was started under.
    if (path.ends_with(kDeletedSuffix) && !Exists(path)) {
        path.resize(path.size() - kDeletedSuffix.size());
    }
    return path;
}

std::string ConfigurationDirectory() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return WithoutTrailingSlashes(xdg);
    }
    const std::string home = HomeDirectory();
    if (home.empty()) {
        return ".config";
    }
    const std::string base = WithoutTrailingSlashes(home);
    return base == "/" ? "/.config" : base + "/.config";
}
