#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "tests/common/TempDir.h"

// A fresh temporary directory whose "config" subdirectory (not yet made) is the
// configuration directory while the object lives.
class TConfigHome {
public:
    TConfigHome() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            FOld = old;
        }
        ::setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
    }
    ~TConfigHome() {
        if (FOld) {
            ::setenv("XDG_CONFIG_HOME", FOld->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }
    TConfigHome(const TConfigHome&) = delete;
    TConfigHome& operator=(const TConfigHome&) = delete;

    const TTempDir& Dir() const { return FDir; }
    std::string Config() const { return FDir / "config"; }
    std::string File(const std::string& name) const { return Config() + "/" + name; }
    std::string Write(const std::string& name, std::string_view bytes) const {
        return FDir.Write("config/" + name, bytes);
    }

private:
    TTempDir FDir;
    std::optional<std::string> FOld;
};
