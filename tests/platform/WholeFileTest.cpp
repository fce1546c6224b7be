#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "tests/common/SmallFilesystem.h"
#include "tests/common/TempDir.h"

namespace fs = std::filesystem;

namespace {

bool HasTempLeftovers(const std::string& dir) {
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().filename().string().starts_with(kTempFilePrefix)) {
            return true;
        }
    }
    return false;
}

struct stat StatOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
}

const std::string kOld = "old content that is longer than the new one\r\n";
const std::string kNew = "new content\r\n";

} // namespace

TEST(ReadWholeFile, ReadsEveryByteAndRefusesWhatIsNoRegularFile) {
    TTempDir dir;
    std::string bytes(300000, 'x');
    bytes[12345] = '\0';
    const std::string path = dir.Write("a.html", bytes);
    EXPECT_EQ(ReadWholeFile(path).Bytes, bytes);

    ::mkfifo((dir / "fifo.html").c_str(), 0644);
    fs::create_symlink(dir / "missing", dir / "dangling.html");
    for (const char* name : {"fifo.html", "dangling.html", "missing.html", ""}) {
        try {
            ReadWholeFile(dir / name);
            ADD_FAILURE() << name;
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message(), "Cannot open file " + (dir / name));
        }
    }
}

TEST(WriteFileSafely, RewritesInPlaceKeepingInodeLinksModeAndXattrs) {
    TTempDir dir;
    const std::string path = dir.Write("a.html", kOld);
    ::chmod(path.c_str(), 0640);
    fs::create_hard_link(path, dir / "b.html");
    const bool xattr = ::setxattr(path.c_str(), "user.note", "kept", 4, 0) == 0;
    const ino_t inode = StatOf(path).st_ino;

    WriteFileSafely(path, kNew);

    EXPECT_EQ(ReadBytes(path), kNew);
    EXPECT_EQ(ReadBytes(dir / "b.html"), kNew);
    EXPECT_EQ(StatOf(path).st_ino, inode);
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
    if (xattr) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(path.c_str(), "user.note", value, sizeof value), 4);
        EXPECT_STREQ(value, "kept");
    }
}

TEST(WriteFileSafely, ASymbolicLinkStaysALinkAndItsTargetIsRewritten) {
    TTempDir dir;
    const std::string target = dir.Write("real/a.html", kOld);
    fs::create_symlink("real/a.html", dir / "link.html");
    WriteFileSafely(dir / "link.html", kNew);
    EXPECT_TRUE(fs::is_symlink(dir / "link.html"));
    EXPECT_EQ(ReadBytes(target), kNew);
}

TEST(WriteFileSafely, ReadOnlyMeansNoWriteBitForRootToo) {
    TTempDir dir;
    const std::string path = dir.Write("a.html", kOld);
    ::chmod(path.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyFile(path));
    try {
        WriteFileSafely(path, kNew);
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + path);
    }
    EXPECT_EQ(ReadBytes(path), kOld);
}

TEST(WriteFileSafely, AVanishedFileIsCreatedAndZeroBytesWriteAnEmptyFile) {
    TTempDir dir;
    WriteFileSafely(dir / "new.html", kNew);
    EXPECT_EQ(ReadBytes(dir / "new.html"), kNew);
    WriteFileSafely(dir / "new.html", "");
    EXPECT_EQ(fs::file_size(dir / "new.html"), 0u);
}

// Every step that can fail, in place and through the rename fallback: the file keeps its
// former content, its mode and its inode, and no temporary file is left.
TEST(WriteFileSafely, AFailureAtAnyStepLeavesTheFormerContentWhole) {
    struct Case {
        const char* name;
        TWriteStep step;
        bool renameFallback;
        bool rewrites; // the fallback may still write in place when renaming is not possible
    } cases[] = {
        {"open", TWriteStep::Open, false, false},
        {"reserve", TWriteStep::Reserve, false, false},
        {"write", TWriteStep::Write, false, false},
        {"truncate", TWriteStep::Truncate, false, false},
        {"close", TWriteStep::Close, false, false},
        {"temp write", TWriteStep::TempWrite, true, false},
        {"rename", TWriteStep::Rename, true, false},
        {"temp create", TWriteStep::TempCreate, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        const std::string path = dir.Write("a.html", kOld);
        ::chmod(path.c_str(), 0604);
        const ino_t inode = StatOf(path).st_ino;
        int writes = 0;
        TWriteFaults faults;
        faults.MaxWriteChunk = 4; // so that a write failure strikes after some bytes moved
        faults.Fail = [&](TWriteStep step) {
            if (c.renameFallback && step == TWriteStep::Reserve) {
                return EOPNOTSUPP;
            }
            if (step == TWriteStep::Write || step == TWriteStep::TempWrite) {
                ++writes;
                return step == c.step && writes == 2 ? EIO : 0;
            }
            return step == c.step ? ENOSPC : 0;
        };
        TScopedWriteFaults scoped(faults);
        bool failed = false;
        try {
            WriteFileSafely(path, kNew);
        } catch (const EStreamError&) {
            failed = true;
        }
        EXPECT_EQ(failed, !c.rewrites);
        EXPECT_EQ(ReadBytes(path), c.rewrites ? kNew : kOld);
        EXPECT_EQ(StatOf(path).st_mode & 07777, 0604u);
        if (!c.renameFallback || !failed) {
            EXPECT_EQ(StatOf(path).st_ino, inode);
        }
        EXPECT_FALSE(HasTempLeftovers(dir.Path()));
    }
}

TEST(WriteFileSafely, WithoutReservationARenameReplacesALoneFileKeepingItsMode) {
    TTempDir dir;
    const std::string path = dir.Write("a.html", kOld);
    ::chmod(path.c_str(), 0640);
    fs::create_symlink("a.html", dir / "link.html");
    TWriteFaults faults;
    faults.Fail = [](TWriteStep step) { return step == TWriteStep::Reserve ? EOPNOTSUPP : 0; };
    TScopedWriteFaults scoped(faults);

    WriteFileSafely(dir / "link.html", kNew);
    EXPECT_TRUE(fs::is_symlink(dir / "link.html"));
    EXPECT_EQ(ReadBytes(path), kNew);
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
    EXPECT_FALSE(HasTempLeftovers(dir.Path()));

    // Two names for one file: a rename would split them, so the write stays in place.
    fs::create_hard_link(path, dir / "b.html");
    WriteFileSafely(path, kOld);
    EXPECT_EQ(ReadBytes(dir / "b.html"), kOld);
}

// A real full filesystem: a small tmpfs in a private mount namespace, where permitted.
TEST(WriteFileSafely, AFullFilesystemLeavesTheFileWhole) {
    TTempDir dir;
    const auto status = RunOnSmallFilesystem(dir.Path(), [&] {
        const std::string path = dir.Write("a.html", std::string(16 * 1024, 'o'));
        dir.Write("filler", std::string(40 * 1024, 'f'));
        try {
            WriteFileSafely(path, std::string(32 * 1024, 'n'));
            return 1; // there was no room: the write must have failed
        } catch (const EWriteError&) {
            return ReadBytes(path) == std::string(16 * 1024, 'o') && !HasTempLeftovers(dir.Path())
                       ? 0
                       : 2;
        }
    });
    if (!status) {
        GTEST_SKIP() << kNoMountNamespace;
    }
    EXPECT_EQ(*status, 0) << "1: the write succeeded; 2: the file was damaged";
}
