#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/ProfileService.h"
#include "platform/ProgramPaths.h"
#include "platform/WholeFile.h"
#include "tests/common/SmallFilesystem.h"
#include "tests/settings/ConfigHome.h"

namespace fs = std::filesystem;

namespace {

const char* const kFile = "zeroraz.ini";

std::string Read(const char* section, const char* key, const char* defaultValue,
                 std::size_t bufferSize = 2048) {
    std::vector<char> buffer(bufferSize + 1, 'X');
    const std::size_t copied =
        GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), bufferSize, kFile);
    EXPECT_EQ(buffer[copied], '\0');
    return std::string(buffer.data(), copied);
}

bool Write(const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, kFile);
}

struct stat StatOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
}

std::vector<std::string> EntriesOf(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ProfileService, ReadsTheStoredValueOrTheDefault) {
    struct TCase {
        const char* Content; // nullptr: no file at all
        const char* Expected;
    };
    const std::string big(3000, 'v');
    const std::string bigFile = "[config]\r\nname1=" + big + "\r\n";
    const TCase cases[] = {
        {nullptr, "dflt"},
        {"", "dflt"},
        {"[other]\r\nname1=x\r\n", "dflt"},
        {"[config]\r\nname2=x\r\n", "dflt"},
        {"[config]\r\n[other]\r\nname1=x\r\n", "dflt"},
        {"[config]\r\n;name1=x\r\n", "dflt"},
        {"[config]\r\nname1=\r\n", ""},
        {"[config]\r\nname1=stored\r\n", "stored"},
        {"[config]\nname1=lf\n", "lf"},
        {"[config]\r\nname1=last", "last"},
        {"[config]\r\nname1= \t a b \t \r\n", "a b"},
        {"[config]\r\nname1=\"double\"\r\n", "double"},
        {"[config]\r\nname1='single'\r\n", "single"},
        {"[config]\r\nname1=  \" kept blanks \"  \r\n", " kept blanks "},
        {"[config]\r\nname1=\"\"twice\"\"\r\n", "\"twice\""},
        {"[config]\r\nname1=\"mixed'\r\n", "\"mixed'"},
        {"[config]\r\nname1=\"\r\n", "\""},
        {"[config]\r\nname1=a=b\r\n", "a=b"},
        {"  [ CONFIG ]  \r\n  NAME1  =case\r\n", "case"},
        {"[config]\r\nname1=first\r\nname1=second\r\n[config]\r\nname1=third\r\n", "first"},
        {"\xEF\xBB\xBF[config]\r\nname1=marked\r\n", "marked"},
        {"[other]\r\nk=v\r\n\r\n[config]\r\nother=1\r\n\r\nname1=found\r\n", "found"},
    };
    for (const TCase& c : cases) {
        TConfigHome home;
        if (c.Content != nullptr) {
            home.Write(kFile, c.Content);
        }
        EXPECT_EQ(Read("config", "name1", "dflt"), c.Expected)
            << (c.Content != nullptr ? c.Content : "(no file)");
    }

    TConfigHome home;
    home.Write(kFile, bigFile);
    EXPECT_EQ(Read("config", "name1", ""), big.substr(0, 2047));
    EXPECT_EQ(Read("config", "name1", "", 4), "vvv");
    EXPECT_EQ(Read("config", "missing", "default", 4), "def");
    EXPECT_EQ(Read("config", "missing", nullptr), "");
}

TEST(ProfileService, AWriteChangesOneLineAndKeepsEveryOtherByte) {
    TConfigHome home;
    const std::string before = "; a comment\r\n"
                               "[other]\r\n"
                               "name1=not ours\r\n"
                               "\r\n"
                               "[Config]\r\n"
                               "Name1 = old\r\n"
                               "junk line\n"
                               "name9=  x  \r\n"
                               "\r\n"
                               "[last]\r\n"
                               "k=\"v\"";
    const std::string path = home.Write(kFile, before);

    ASSERT_TRUE(Write("config", "name1", "new"));
    std::string expected = before;
    expected.replace(expected.find("Name1 = old"), 11, "Name1 =new");
    EXPECT_EQ(ReadBytes(path), expected);

    ASSERT_TRUE(Write("config", "name2", ""));
    expected.insert(expected.find("\r\n\r\n[last]") + 2, "name2=\r\n");
    EXPECT_EQ(ReadBytes(path), expected);

    ASSERT_TRUE(Write("new", "key", " spaced "));
    expected += "\r\n[new]\r\nkey= spaced \r\n";
    EXPECT_EQ(ReadBytes(path), expected);

    EXPECT_EQ(Read("config", "name2", "dflt"), "");
    EXPECT_EQ(Read("new", "key", ""), "spaced");
    EXPECT_EQ(Read("last", "k", ""), "v");
    EXPECT_EQ(EntriesOf(home.Config()), std::vector<std::string>{kFile});
}

TEST(ProfileService, AWriteKeepsTheLineEndsTheFileUses) {
    struct TCase {
        const char* Before;
        const char* After;
    };
    const TCase cases[] = {
        {nullptr, "[config]\r\nname1=v\r\n"},
        {"", "[config]\r\nname1=v\r\n"},
        {"[config]\nname4=a\n", "[config]\nname4=a\nname1=v\n"},
        {"[config]\nname4=a", "[config]\nname4=a\nname1=v\n"},
        {"[config]\r\nname4=a", "[config]\r\nname4=a\r\nname1=v\r\n"},
        {"[other]\nk=v\n", "[other]\nk=v\n[config]\nname1=v\n"},
        {"[config]\nname1=old\r\nname4=a\n", "[config]\nname1=v\r\nname4=a\n"},
    };
    for (const TCase& c : cases) {
        TConfigHome home;
        if (c.Before != nullptr) {
            home.Write(kFile, c.Before);
        }
        ASSERT_TRUE(Write("config", "name1", "v"));
        EXPECT_EQ(ReadBytes(home.File(kFile)), c.After)
            << (c.Before != nullptr ? c.Before : "(no file)");
    }
}

TEST(ProfileService, TheFirstWriteMakesTheConfigurationDirectory) {
    TConfigHome home;
    ::setenv("XDG_CONFIG_HOME", (home.Dir() / "deeper/config/").c_str(), 1);
    EXPECT_EQ(ProfilePathOf(kFile), home.Dir() / "deeper/config/zeroraz.ini");
    ASSERT_TRUE(Write("config", "name1", "v"));
    EXPECT_EQ(ReadBytes(home.Dir() / "deeper/config/zeroraz.ini"), "[config]\r\nname1=v\r\n");
    EXPECT_EQ(StatOf(home.Dir() / "deeper/config").st_mode & 0777, 0700u);
}

TEST(ProfileService, ARefusedWriteLeavesEverythingAsItWas) {
    const std::string content = "[config]\r\nname1=old\r\n";
    {
        TConfigHome home;
        const std::string path = home.Write(kFile, content);
        ::chmod(path.c_str(), 0444);
        EXPECT_FALSE(Write("config", "name1", "new"));
        EXPECT_EQ(ReadBytes(path), content);
        EXPECT_EQ(EntriesOf(home.Config()), std::vector<std::string>{kFile});
    }
    {
        TConfigHome home;
        fs::create_directories(home.File(kFile));
        EXPECT_FALSE(Write("config", "name1", "new"));
        EXPECT_TRUE(fs::is_empty(home.File(kFile)));
    }
    {
        // The configuration directory cannot be made below a regular file.
        TConfigHome home;
        home.Dir().Write("plain", "x");
        ::setenv("XDG_CONFIG_HOME", (home.Dir() / "plain/config").c_str(), 1);
        EXPECT_FALSE(Write("config", "name1", "new"));
        EXPECT_EQ(ReadBytes(home.Dir() / "plain"), "x");
    }
    {
        // A line break would make a value into lines of its own.
        TConfigHome home;
        const std::string path = home.Write(kFile, content);
        EXPECT_FALSE(Write("config", "name1", "two\r\nlines"));
        EXPECT_FALSE(Write("config", "name1", "[other]\nname1=x"));
        EXPECT_FALSE(Write("config", "bad=key", "v"));
        EXPECT_FALSE(Write("bad]section", "key", "v"));
        EXPECT_FALSE(Write("config", nullptr, "v"));
        EXPECT_EQ(ReadBytes(path), content);
        EXPECT_EQ(EntriesOf(home.Config()), std::vector<std::string>{kFile});
    }
}

TEST(ProfileService, AWriteKeepsTheFileWhatItIs) {
    TConfigHome home;
    const std::string real = home.Dir().Write("elsewhere/real.ini", "[config]\nname1=old\n");
    ::chmod(real.c_str(), 0640);
    fs::create_directories(home.Config());
    fs::create_symlink(real, home.File(kFile));

    ASSERT_TRUE(Write("config", "name1", "new"));
    EXPECT_TRUE(fs::is_symlink(home.File(kFile)));
    EXPECT_EQ(ReadBytes(real), "[config]\nname1=new\n");
    EXPECT_EQ(StatOf(real).st_mode & 07777, 0640u);
    EXPECT_EQ(EntriesOf(home.Dir() / "elsewhere"), std::vector<std::string>{"real.ini"});
}

TEST(ProfileService, TheFlushCallAndUnusableNamesAreHarmless) {
    TConfigHome home;
    EXPECT_TRUE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, kFile));
    EXPECT_FALSE(fs::exists(home.Config()));
    EXPECT_FALSE(WritePrivateProfileStringA("config", "name1", "v", ""));
    char buffer[8];
    EXPECT_EQ(GetPrivateProfileStringA("config", "name1", "d", buffer, sizeof buffer, ""), 1u);
    EXPECT_EQ(GetPrivateProfileStringA("config", "name1", "d", buffer, 0, kFile), 0u);
}

// A real full filesystem: a small tmpfs in a private mount namespace, where permitted.
TEST(ProfileService, AFullFilesystemRefusesTheWriteAndLeavesNoTemporary) {
    TConfigHome home;
    const std::string before = "[config]\r\nname1=" + std::string(16 * 1024, 'o') + "\r\n";
    fs::create_directories(home.Config());
    const auto status = RunOnSmallFilesystem(home.Config(), [&] {
        const std::string path = home.Write(kFile, before);
        home.Write("filler", std::string(40 * 1024, 'f'));
        if (Write("config", "name1", std::string(32 * 1024, 'n').c_str())) {
            return 1;
        }
        const bool kept = ReadBytes(path) == before &&
                          EntriesOf(home.Config()) == std::vector<std::string>{"filler", kFile};
        return kept ? 0 : 2;
    });
    if (!status) {
        GTEST_SKIP() << kNoMountNamespace;
    }
    EXPECT_EQ(*status, 0) << "1: the write succeeded; 2: the file was damaged";
}

TEST(ConfigurationDirectory, FollowsTheEnvironment) {
    struct TCase {
        const char* XdgConfigHome; // nullptr: unset
        const char* Home;
        const char* Expected;
    };
    const TCase cases[] = {
        {"/xdg/config", "/home/u", "/xdg/config"},
        {"/xdg/config//", "/home/u", "/xdg/config"},
        {nullptr, "/home/u", "/home/u/.config"},
        {"", "/home/u/", "/home/u/.config"},
        {"relative/config", "/home/u", "/home/u/.config"},
        {nullptr, "/", "/.config"},
    };
    TConfigHome restoresXdg;
    const std::string oldHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    for (const TCase& c : cases) {
        if (c.XdgConfigHome != nullptr) {
            ::setenv("XDG_CONFIG_HOME", c.XdgConfigHome, 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
        ::setenv("HOME", c.Home, 1);
        EXPECT_EQ(ConfigurationDirectory(), c.Expected)
            << (c.XdgConfigHome != nullptr ? c.XdgConfigHome : "(unset)") << " " << c.Home;
    }
    ::setenv("HOME", oldHome.c_str(), 1);
}
