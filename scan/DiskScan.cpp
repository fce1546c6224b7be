#include "scan/DiskScan.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scan/FixedDrives.h"

// The state of one walk; every Execute has its own, so nothing a handler starts can
// disturb a walk in progress.
struct TDiskScan::TWalk {
    // Directories on the current walk path, as device and inode.
    std::vector<std::pair<dev_t, ino_t>> Path;
    // While a drive is walked: the device the walk does not leave.
    std::optional<dev_t> Device;
};

namespace {

// Closes a listing and takes its directory off the walk path when the level ends, however
// it ends.
class TOpenListing {
public:
    TOpenListing(DIR* dir, std::vector<std::pair<dev_t, ino_t>>& path) : FDir(dir), FPath(path) {}
    ~TOpenListing() {
        FPath.pop_back();
        ::closedir(FDir);
    }
    TOpenListing(const TOpenListing&) = delete;
    TOpenListing& operator=(const TOpenListing&) = delete;

private:
    DIR* FDir;
    std::vector<std::pair<dev_t, ino_t>>& FPath;
};

// Publishes the directory and name of the file being reported for as long as its event
// runs, and puts back what was there before (an event may start a walk of its own).
class TFoundFile {
public:
    TFoundFile(int& directory, const char*& name, int fd, const char* entryName)
        : FDirectory(directory), FName(name), FOldDirectory(directory), FOldName(name) {
        FDirectory = fd;
        FName = entryName;
    }
    ~TFoundFile() {
        FDirectory = FOldDirectory;
        FName = FOldName;
    }
    TFoundFile(const TFoundFile&) = delete;
    TFoundFile& operator=(const TFoundFile&) = delete;

private:
    int& FDirectory;
    const char*& FName;
    int FOldDirectory;
    const char* FOldName;
};

constexpr std::size_t kMaxPathLength = PATH_MAX - 1;

} // namespace

bool TDiskScan::Execute() {
    TWalk walk;
    const std::string start = FStartDirectory;
    if (start.empty()) {
        ScanFixedDrives(walk);
    } else {
        ScanDirectory(walk, start, AT_FDCWD, start.c_str());
    }
    if (OnScanFinish) {
        OnScanFinish(this);
    }
    return true;
}

void TDiskScan::DoDirFound(const std::string& Directory) {
    if (OnDirFound) {
        OnDirFound(this, Directory);
    }
}

void TDiskScan::ScanFixedDrives(TWalk& walk) {
    for (const std::string& root : FixedDriveRoots()) {
        struct stat st;
        if (::stat(root.c_str(), &st) != 0) {
            continue;
        }
        walk.Device = st.st_dev;
        ScanDirectory(walk, root, AT_FDCWD, root.c_str());
    }
    walk.Device.reset();
}

void TDiskScan::ScanDirectory(TWalk& walk, const std::string& directory, int parentFd,
                              const char* name) {
    DoDirFound(directory);
    if (ProcessMessages) {
        ProcessMessages();
    }
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat self;
    if (::fstat(fd, &self) != 0 ||
        std::find(walk.Path.begin(), walk.Path.end(), std::pair(self.st_dev, self.st_ino)) !=
            walk.Path.end()) {
        ::close(fd); // a link back up the walk path: reported, not entered again
        return;
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    walk.Path.emplace_back(self.st_dev, self.st_ino);
    TOpenListing listing(dir, walk.Path);

    std::string prefix = directory;
    if (prefix.empty() || prefix.back() != '/') {
        prefix.push_back('/');
    }
    const std::size_t prefixLength = prefix.size();
    std::string path;
    while (const dirent* entry = ::readdir(dir)) {
        const char* entryName = entry->d_name;
        bool isDirectory = entry->d_type == DT_DIR;
        struct stat st;
        bool statted = false;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // A link counts as what it points to; a dangling one is a file.
            statted = ::fstatat(fd, entryName, &st, 0) == 0;
            isDirectory = statted && S_ISDIR(st.st_mode);
        }
        if (isDirectory && entryName[0] == '.') {
            continue;
        }
        if (!isDirectory && !OnFileFound) {
            continue;
        }
        const std::size_t nameLength = std::char_traits<char>::length(entryName);
        if (prefixLength + nameLength > kMaxPathLength) {
            continue; // longer than any path the system takes
        }
        path.assign(prefix).append(entryName, nameLength);
        if (!isDirectory) {
            TFoundFile found(FFoundDirectory, FFoundName, fd, entryName);
            OnFileFound(this, path);
            continue;
        }
        if (walk.Device) {
            if (!statted && ::fstatat(fd, entryName, &st, 0) != 0) {
                continue;
            }
            if (st.st_dev != *walk.Device) {
                continue; // another filesystem mounted here: walked on its own, if at all
            }
        }
        ScanDirectory(walk, path, fd, entryName);
    }
}
