#include "platform/ProfileService.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Exceptions.h"
#include "platform/ProfileFormat.h"
#include "platform/ProgramPaths.h"
#include "platform/WholeFile.h"

namespace {

bool IsBareName(std::string_view fileName) {
    return fileName.find('/') == std::string_view::npos;
}

// Makes directory and every missing directory above it.
bool MakeDirectories(const std::string& directory) {
    struct stat st;
    if (::stat(directory.c_str(), &st) == 0) {
        return S_ISDIR(st.st_mode);
    }
    const std::size_t slash = directory.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(directory.substr(0, slash))) {
        return false;
    }
    return ::mkdir(directory.c_str(), 0700) == 0 || errno == EEXIST;
}

bool Storable(std::string_view section, std::string_view key, std::string_view value) {
    const auto hasLineBreak = [](std::string_view text) {
        return text.find_first_of("\r\n") != std::string_view::npos;
    };
    return !hasLineBreak(section) && !hasLineBreak(key) && !hasLineBreak(value) &&
           section.find(']') == std::string_view::npos && !key.empty() &&
           key.find('=') == std::string_view::npos && key.front() != '[';
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A temporary file beside the file it will replace; removed unless it was renamed.
class TTempFile {
public:
    explicit TTempFile(const std::string& target) {
        const std::size_t slash = target.rfind('/');
        const std::string directory = slash == std::string::npos ? "." : target.substr(0, slash);
        const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
        FPath = directory + "/" + std::string(kTempFilePrefix) + base + ".XXXXXX";
        FFd = ::mkostemp(FPath.data(), O_CLOEXEC);
    }
    ~TTempFile() {
        if (FFd >= 0) {
            ::close(FFd);
        }
        if (FFd != kRenamed && Valid()) {
            ::unlink(FPath.c_str());
        }
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    bool Valid() const { return FFd >= 0 || FFd == kClosed; }
    int Fd() const { return FFd; }

    bool Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t put = ::write(FFd, bytes.data(), bytes.size());
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(put));
        }
        return true;
    }
    bool Close() {
        const int fd = FFd;
        FFd = kClosed;
        return ::close(fd) == 0;
    }
    bool RenameTo(const std::string& target) {
        if (::rename(FPath.c_str(), target.c_str()) != 0) {
            return false;
        }
        FFd = kRenamed;
        return true;
    }

private:
    static constexpr int kClosed = -2;
    static constexpr int kRenamed = -3;
    std::string FPath;
    int FFd = -1;
};

// The path the new content is renamed to: a symbolic link's target, so the link stays.
std::string ReplacedPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

bool ReplaceFile(const std::string& path, std::string_view content, const struct stat* old) {
    const std::string target = old != nullptr ? ReplacedPath(path) : path;
    TTempFile temp(target);
    if (!temp.Valid()) {
        return false;
    }
    if (old != nullptr) {
        // Owner first: changing it may clear set-id bits that the mode then restores. Only
        // root may give a file away; for anyone else the file simply stays their own.
        if (::fchown(temp.Fd(), old->st_uid, old->st_gid) != 0) {
            errno = 0;
        }
    }
    if (::fchmod(temp.Fd(), old != nullptr ? (old->st_mode & 07777) : NewFileMode()) != 0) {
        return false;
    }
    return temp.Write(content) && temp.Close() && temp.RenameTo(target);
}

} // namespace

std::string ProfilePathOf(std::string_view fileName) {
    if (!IsBareName(fileName)) {
        return std::string(fileName);
    }
    const std::string directory = ConfigurationDirectory();
    return (directory == "/" ? "" : directory) + "/" + std::string(fileName);
}

std::size_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                     char* buffer, std::size_t bufferSize, const char* fileName) {
    if (buffer == nullptr || bufferSize == 0) {
        return 0;
    }
    std::optional<std::string> value;
    if (section != nullptr && key != nullptr && fileName != nullptr && *fileName != '\0') {
        try {
            value = ProfileValueOf(ReadWholeFile(ProfilePathOf(fileName)).Bytes, section, key);
        } catch (const Exception&) {
            // A file that is missing or cannot be read holds no keys.
        }
    }
    const std::string_view text = value                     ? std::string_view(*value)
                                  : defaultValue != nullptr ? std::string_view(defaultValue)
                                                            : std::string_view();
    const std::size_t copied = std::min(text.size(), bufferSize - 1);
    if (copied > 0) {
        std::memcpy(buffer, text.data(), copied);
    }
    buffer[copied] = '\0';
    return copied;
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName) {
    if (section == nullptr && key == nullptr && value == nullptr) {
        return true;
    }
    if (section == nullptr || key == nullptr || value == nullptr || fileName == nullptr ||
        *fileName == '\0' || !Storable(section, key, value)) {
        return false;
    }
    const std::string path = ProfilePathOf(fileName);
    if (IsBareName(fileName) && !MakeDirectories(ConfigurationDirectory())) {
        return false;
    }
    struct stat st;
    std::string old;
    const bool existed = ::stat(path.c_str(), &st) == 0;
    if (existed) {
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) {
            return false;
        }
        try {
            old = ReadWholeFile(path).Bytes;
        } catch (const Exception&) {
            return false; // what cannot be read cannot be kept
        }
    } else if (errno != ENOENT) {
        return false;
    }
    const std::string content = WithProfileValue(old, section, key, value);
    if (existed && content == old) {
        return true;
    }
    return ReplaceFile(path, content, existed ? &st : nullptr);
}
