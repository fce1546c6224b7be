#pragma once

#include <functional>
#include <optional>
#include <string>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs body in a child process that sees a tmpfs of 64 KiB mounted on directory, in a private
// mount namespace, so that a test can fill a real filesystem. Answers body's result (the
// child's exit status), or nothing where mount namespaces are not permitted (not root, or no
// CAP_SYS_ADMIN): the caller then skips.
inline std::optional<int> RunOnSmallFilesystem(const std::string& directory,
                                               const std::function<int()>& body) {
    constexpr int kNotPermitted = 77;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", directory.c_str(), "tmpfs", 0, "size=64k") != 0) {
            ::_exit(kNotPermitted);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == kNotPermitted) {
        return WIFEXITED(status) ? std::nullopt : std::optional<int>(-1);
    }
    return WEXITSTATUS(status);
}

inline constexpr const char* kNoMountNamespace =
    "no private mount namespace here (needs root and CAP_SYS_ADMIN)";
