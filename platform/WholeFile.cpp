#include "platform/WholeFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/Exceptions.h"

namespace {

TWriteFaults* gFaults = nullptr;

// errno for a step the test seam fails, 0 to go on.
int InjectedFault(TWriteStep step) {
    return gFaults != nullptr && gFaults->Fail ? gFaults->Fail(step) : 0;
}

std::size_t MaxChunk() {
    return gFaults != nullptr ? gFaults->MaxWriteChunk : static_cast<std::size_t>(-1);
}

TFileStamp StampOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

class TFd {
public:
    explicit TFd(int fd = -1) : FFd(fd) {}
    ~TFd() { Reset(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return FFd; }
    bool Valid() const { return FFd >= 0; }
    void Reset(int fd = -1) {
        if (FFd >= 0) {
            ::close(FFd);
        }
        FFd = fd;
    }
    // Closes and reports whether the close succeeded.
    bool Close() {
        const int fd = FFd;
        FFd = -1;
        return ::close(fd) == 0;
    }

private:
    int FFd;
};

// Reads everything from fd at offset 0 on; false on a read error.
bool ReadAll(int fd, std::string& bytes, std::size_t expected) {
    bytes.resize(expected + 1);
    std::size_t total = 0;
    while (true) {
        if (total == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got =
            ::pread(fd, bytes.data() + total, bytes.size() - total, static_cast<off_t>(total));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
        if (total == expected && total < bytes.size()) {
            break; // the size the file had, and nothing more where one byte more was asked for
        }
    }
    bytes.resize(total);
    return true;
}

// Writes all of data at offset 0, looping on short writes; 0 or the errno of the failure.
int WriteAll(int fd, std::string_view data, TWriteStep step) {
    std::size_t done = 0;
    while (done < data.size()) {
        if (const int fault = InjectedFault(step)) {
            return fault;
        }
        const std::size_t chunk = std::min(data.size() - done, MaxChunk());
        const ssize_t put = ::pwrite(fd, data.data() + done, chunk, static_cast<off_t>(done));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (put == 0) {
            return EIO;
        }
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

int Truncate(int fd, std::size_t size) {
    if (const int fault = InjectedFault(TWriteStep::Truncate)) {
        return fault;
    }
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0 ? 0 : errno;
}

// Writes content over the open file of size bytes and cuts it to the content's length; 0 or
// the errno of the failure. A file no longer than the content already has that length.
int WriteInPlace(int fd, std::string_view content, std::size_t size) {
    if (const int rc = WriteAll(fd, content, TWriteStep::Write)) {
        return rc;
    }
    return size > content.size() ? Truncate(fd, content.size()) : 0;
}

// Best effort to put the former content back after a failed write.
void Restore(const std::string& path, int fd, std::string_view old) {
    TFd reopened;
    if (fd < 0) {
        reopened.Reset(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        fd = reopened.Get();
        if (fd < 0) {
            return;
        }
    }
    std::size_t done = 0;
    while (done < old.size()) {
        const ssize_t put =
            ::pwrite(fd, old.data() + done, old.size() - done, static_cast<off_t>(done));
        if (put <= 0 && errno != EINTR) {
            return;
        }
        if (put > 0) {
            done += static_cast<std::size_t>(put);
        }
    }
    if (::ftruncate(fd, static_cast<off_t>(old.size())) != 0) {
        return;
    }
}

bool HasExtendedAttributes(int fd) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    return size != 0; // an error counts as "may have some": keep the file in place
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

enum class TRenameResult { Done, NotPossible, Failed };

// Writes content to a temporary file beside the real file and renames it over it, where
// that keeps the file what it is; the original is untouched unless the rename succeeds.
TRenameResult ReplaceByRename(const std::string& path, int fd, const struct stat& st,
                              std::string_view content) {
    if (st.st_nlink != 1 || HasExtendedAttributes(fd)) {
        return TRenameResult::NotPossible;
    }
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real) {
        return TRenameResult::NotPossible;
    }
    const std::string target(real.get());
    std::string temp = DirectoryOf(target);
    if (temp != "/") {
        temp += '/';
    }
    temp += std::string(kTempFilePrefix) + BaseNameOf(target) + ".XXXXXX";
    if (InjectedFault(TWriteStep::TempCreate) != 0) {
        return TRenameResult::NotPossible;
    }
    TFd out(::mkostemp(temp.data(), O_CLOEXEC));
    if (!out.Valid()) {
        return TRenameResult::NotPossible;
    }
    // Owner and group first: changing them may clear the set-id bits that the mode restores.
    if (::fchown(out.Get(), st.st_uid, st.st_gid) != 0 ||
        ::fchmod(out.Get(), st.st_mode & 07777) != 0) {
        out.Reset();
        ::unlink(temp.c_str());
        return TRenameResult::NotPossible;
    }
    const bool written = WriteAll(out.Get(), content, TWriteStep::TempWrite) == 0 && out.Close();
    if (!written || InjectedFault(TWriteStep::Rename) != 0 ||
        ::rename(temp.c_str(), target.c_str()) != 0) {
        out.Reset();
        ::unlink(temp.c_str());
        return TRenameResult::Failed;
    }
    return TRenameResult::Done;
}

} // namespace

TScopedWriteFaults::TScopedWriteFaults(TWriteFaults faults) {
    gFaults = new TWriteFaults(std::move(faults));
}

TScopedWriteFaults::~TScopedWriteFaults() {
    delete gFaults;
    gFaults = nullptr;
}

TFileContent ReadWholeFile(const std::string& path) {
    return ReadWholeFileAt(AT_FDCWD, path.c_str(), path);
}

TFileContent ReadWholeFileAt(int directoryFd, const char* name, const std::string& path) {
    TFd fd(::openat(directoryFd, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st;
    if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        throw EFOpenError(path);
    }
    TFileContent content;
    content.Stamp = StampOf(st);
    content.Mode = static_cast<std::uint32_t>(st.st_mode);
    if (!ReadAll(fd.Get(), content.Bytes, static_cast<std::size_t>(st.st_size)) ||
        content.Bytes.size() != static_cast<std::size_t>(st.st_size)) {
        throw EFOpenError(path);
    }
    return content;
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

void WriteFileSafely(const std::string& path, std::string_view content,
                     const TFileContent* loaded) {
    struct stat st;
    // A path that was just read as a regular file is not looked up once more before it is
    // opened: the open handle is checked instead. Any other path is never opened for writing
    // unless it is a regular file that may be written.
    if (loaded == nullptr && ::stat(path.c_str(), &st) == 0 &&
        (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0)) {
        throw EFCreateError(path);
    }
    if (InjectedFault(TWriteStep::Open) != 0) {
        throw EFCreateError(path);
    }
    bool created = false;
    // Read and write: the former content may have to be read back through the same handle.
    TFd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.Valid() && errno == ENOENT) {
        // The file vanished since it was read: create it, as a save always may.
        fd.Reset(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        created = fd.Valid();
    }
    if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        (!created && (st.st_mode & 0222) == 0)) {
        throw EFCreateError(path);
    }

    // The former content: the bytes read before if the file is still as it was then.
    std::string reread;
    std::string_view old;
    if (loaded != nullptr && loaded->Stamp == StampOf(st)) {
        old = loaded->Bytes;
    } else if (!created) {
        if (!ReadAll(fd.Get(), reread, static_cast<std::size_t>(st.st_size))) {
            throw EFCreateError(path);
        }
        old = reread;
    }

    auto fail = [&](bool restore) {
        if (restore) {
            Restore(path, fd.Get(), old);
        }
        fd.Reset();
        if (created) {
            ::unlink(path.c_str());
        }
        throw EWriteError();
    };

    if (!content.empty()) {
        int rc = InjectedFault(TWriteStep::Reserve);
        if (rc == 0 && ::fallocate(fd.Get(), FALLOC_FL_KEEP_SIZE, 0,
                                   static_cast<off_t>(content.size())) != 0) {
            rc = errno;
        }
        if (rc == EOPNOTSUPP) {
            switch (ReplaceByRename(path, fd.Get(), st, content)) {
            case TRenameResult::Done:
                return;
            case TRenameResult::Failed:
                fail(false);
                return;
            case TRenameResult::NotPossible:
                break;
            }
        } else if (rc != 0) {
            fail(false); // nothing has moved yet
        }
    }
    if (WriteInPlace(fd.Get(), content, static_cast<std::size_t>(st.st_size)) != 0) {
        fail(true);
    }
    if (InjectedFault(TWriteStep::Close) != 0 || !fd.Close()) {
        fd.Reset();
        Restore(path, -1, old);
        if (created) {
            ::unlink(path.c_str());
        }
        throw EWriteError();
    }
}
