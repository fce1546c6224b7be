#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scan/DiskScan.h"
#include "scan/FixedDrives.h"
#include "tests/common/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Every event of a walk as one line: "D path", "F path", "P" (messages let run), "END".
struct TRecorder {
    std::vector<std::string> Events;
    void Bind(TDiskScan& scan, bool files = true) {
        scan.OnDirFound = [this, &scan](TObject* sender, const std::string& dir) {
            EXPECT_EQ(sender, &scan);
            Events.push_back("D " + dir);
        };
        if (files) {
            scan.OnFileFound = [this](TObject*, const std::string& file) {
                Events.push_back("F " + file);
            };
        }
        scan.OnScanFinish = [this](TObject*) { Events.push_back("END"); };
        scan.ProcessMessages = [this] { Events.push_back("P"); };
    }
};

// The walk the scanner must make, from the system's own listing order.
void ExpectedWalk(const std::string& dir, std::vector<std::string>& events) {
    events.push_back("D " + dir);
    events.push_back("P");
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory()) {
            if (name[0] != '.') {
                ExpectedWalk(dir + "/" + name, events);
            }
        } else {
            events.push_back("F " + dir + "/" + name);
        }
    }
}

} // namespace

TEST(DiskScan, WalksDepthFirstInListingOrderPassingOverDotDirectories) {
    TTempDir dir;
    dir.Write("w/.cache/inside.html", "x");
    dir.Write("w/a.html", "x");
    dir.Write("w/img/b.gif", "x");
    dir.Write("w/img/deeper/c.html", "x");
    dir.Write("w/z.html", "x");
    dir.Write("w/.hidden.html", "x");
    fs::create_directory(dir / "w/empty");

    TDiskScan scan;
    TRecorder recorder;
    recorder.Bind(scan);
    scan.SetStartDirectory(dir / "w");
    EXPECT_TRUE(scan.Execute());

    std::vector<std::string> expected;
    ExpectedWalk(dir / "w", expected);
    expected.push_back("END");
    EXPECT_EQ(recorder.Events, expected);
    EXPECT_NE(std::find(expected.begin(), expected.end(), "F " + (dir / "w/.hidden.html")),
              expected.end());

    // A second run reports everything again.
    recorder.Events.clear();
    scan.Execute();
    EXPECT_EQ(recorder.Events, expected);
}

TEST(DiskScan, AStartThatCannotBeListedGivesOneDirectoryEvent) {
    TTempDir dir;
    dir.Write("file.html", "x");
    for (const std::string& start : {dir / "missing", dir / "file.html"}) {
        TDiskScan scan;
        TRecorder recorder;
        recorder.Bind(scan);
        scan.SetStartDirectory(start);
        scan.Execute();
        EXPECT_EQ(recorder.Events, (std::vector<std::string>{"D " + start, "P", "END"}));
    }
}

TEST(DiskScan, WithoutAFileHandlerDirectoriesAreStillWalked) {
    TTempDir dir;
    dir.Write("w/a.html", "x");
    dir.Write("w/sub/b.html", "x");
    TDiskScan scan;
    TRecorder recorder;
    recorder.Bind(scan, false);
    scan.SetStartDirectory(dir / "w");
    scan.Execute();
    EXPECT_EQ(recorder.Events, (std::vector<std::string>{"D " + (dir / "w"), "P",
                                                         "D " + (dir / "w/sub"), "P", "END"}));
}

TEST(DiskScan, AnExceptionFromAHandlerEndsTheWalkAtEveryLevel) {
    TTempDir dir;
    dir.Write("w/sub/deep/a.html", "x");
    dir.Write("w/sub/deep/b.html", "x");
    dir.Write("w/sub/c.html", "x");
    dir.Write("w/d.html", "x");
    TDiskScan scan;
    TRecorder recorder;
    recorder.Bind(scan);
    int files = 0;
    scan.OnFileFound = [&](TObject*, const std::string& file) {
        recorder.Events.push_back("F " + file);
        if (++files == 2) {
            throw std::runtime_error("stop");
        }
    };
    scan.SetStartDirectory(dir / "w");
    EXPECT_THROW(scan.Execute(), std::runtime_error);
    EXPECT_EQ(std::count_if(recorder.Events.begin(), recorder.Events.end(),
                            [](const std::string& e) { return e[0] == 'F'; }),
              2);
    EXPECT_NE(recorder.Events.back(), "END");

    // The scanner can run again, from the start.
    files = -100;
    recorder.Events.clear();
    scan.Execute();
    EXPECT_EQ(recorder.Events.back(), "END");
    EXPECT_EQ(std::count_if(recorder.Events.begin(), recorder.Events.end(),
                            [](const std::string& e) { return e[0] == 'F'; }),
              4);
}

TEST(DiskScan, DirectoryLinksAreEnteredButALoopIsNotFollowed) {
    TTempDir dir;
    dir.Write("w/sub/a.html", "x");
    dir.Write("other/b.html", "x");
    fs::create_directory_symlink("..", dir / "w/sub/up");        // back up the walk path
    fs::create_directory_symlink(dir / "other", dir / "w/there"); // elsewhere: entered
    fs::create_symlink(dir / "nowhere", dir / "w/dangling.html"); // a file that cannot be read
    TDiskScan scan;
    TRecorder recorder;
    recorder.Bind(scan);
    scan.SetStartDirectory(dir / "w");
    scan.Execute();
    auto has = [&](const std::string& e) {
        return std::count(recorder.Events.begin(), recorder.Events.end(), e);
    };
    EXPECT_EQ(has("D " + (dir / "w/sub/up")), 1);
    EXPECT_EQ(has("D " + (dir / "w/sub/up/sub")), 0);
    EXPECT_EQ(has("F " + (dir / "w/there/b.html")), 1);
    EXPECT_EQ(has("F " + (dir / "w/dangling.html")), 1);
    EXPECT_EQ(recorder.Events.back(), "END");
}

TEST(DiskScan, TheRootGetsNoDoubleSlash) {
    TDiskScan scan;
    std::vector<std::string> paths;
    struct Enough {};
    auto record = [&](TObject*, const std::string& path) {
        paths.push_back(path);
        if (paths.size() == 20) {
            throw Enough{};
        }
    };
    scan.OnDirFound = record;
    scan.OnFileFound = record;
    scan.SetStartDirectory("/");
    EXPECT_THROW(scan.Execute(), Enough);
    EXPECT_EQ(paths.front(), "/");
    for (const std::string& path : paths) {
        EXPECT_EQ(path.find("//"), std::string::npos) << path;
    }
}

TEST(DiskScan, PathsLongerThanTheSystemTakesArePassedOver) {
    TTempDir dir;
    const std::string name(200, 'd');
    int fd = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
    std::size_t length = dir.Path().size();
    while (length < PATH_MAX + 400) {
        ::mkdirat(fd, name.c_str(), 0755);
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(::openat(next, "a.html", O_WRONLY | O_CREAT, 0644));
        ::close(fd);
        fd = next;
        length += name.size() + 1;
    }
    ::close(fd);
    TDiskScan scan;
    std::size_t longest = 0;
    int files = 0;
    scan.OnFileFound = [&](TObject*, const std::string& path) {
        longest = std::max(longest, path.size());
        ++files;
    };
    scan.SetStartDirectory(dir.Path());
    scan.Execute();
    EXPECT_GT(files, 10);
    EXPECT_LT(longest, static_cast<std::size_t>(PATH_MAX));
    std::error_code ignored;
    // remove_all cannot reach so deep by path; let the shell clean up after us.
    EXPECT_EQ(std::system(("cd " + dir.Path() + " && rm -rf " + name).c_str()), 0);
}

TEST(FixedDrives, EveryBlockDeviceOnceInMountOrder) {
    const std::string mountinfo =
        "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
        "28 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
        "29 28 254:1 / /home\\040dir rw - ext4 /dev/vdb rw\n"
        "30 28 0:26 / /tmp rw - tmpfs tmpfs rw\n"
        "31 28 254:0 /srv /srv rw - ext4 /dev/vda rw\n"
        "32 28 11:0 / /media/cd ro - iso9660 /dev/sr0 ro\n";
    const auto roots = FixedDriveRoots(mountinfo, [](const std::string& source,
                                                     const std::string& device) {
        return (source == "/dev/vda" || source == "/dev/vdb" || source == "/dev/sr0") &&
               device != "11:0"; // the CD-ROM is removable
    });
    EXPECT_EQ(roots, (std::vector<std::string>{"/", "/home dir"}));
}
