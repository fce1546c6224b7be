#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>

#include "tests/common/TempDir.h"

namespace {

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs zeroraz-cli with dir/config as its configuration directory, so only a settings file
// that the test puts there counts.
TRun Cli(const TTempDir& dir, std::initializer_list<std::string> args) {
    std::string command = "XDG_CONFIG_HOME=" + Quote(dir / "config") + " " + Quote(ZERORAZ_CLI);
    for (const std::string& arg : args) {
        command += " " + Quote(arg);
    }
    const std::string err = dir / "stderr.txt";
    command += " 2>" + Quote(err);
    TRun run{};
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.Out.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Err = ReadBytes(err);
    return run;
}

} // namespace

TEST(Cli, RunsOneBatchAndListsWhatItWroteBack) {
    TTempDir dir;
    const std::string tree = dir / "site";
    dir.Write("site/a.html", "x$#$y\nkeep\n");
    dir.Write("site/b.html", "nothing to do\n");
    dir.Write("site/c.txt", "x$#$y\n");
    dir.Write("site/sub/d.html.bak", "$#$");

    const TRun run = Cli(dir, {tree + "/"});
    EXPECT_EQ(run.Status, 0);
    std::vector<std::string> lines;
    std::istringstream out(run.Out);
    for (std::string line; std::getline(out, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{tree + "/a.html", tree + "/sub/d.html.bak"}));
    EXPECT_NE(run.Err.find("2 file(s) written back"), std::string::npos) << run.Err;
    EXPECT_EQ(ReadBytes(tree + "/a.html"), "xy\r\nkeep\r\n");
    EXPECT_EQ(ReadBytes(tree + "/b.html"), "nothing to do\n");
    EXPECT_EQ(ReadBytes(tree + "/c.txt"), "x$#$y\n");
    EXPECT_EQ(ReadBytes(tree + "/sub/d.html.bak"), "\r\n");
}

TEST(Cli, PairsFiltersAndDryRun) {
    TTempDir dir;
    const std::string tree = dir / "site";
    dir.Write("site/a.txt", "foo\n");
    dir.Write("site/b.html", "foo\n");

    const TRun dry = Cli(dir, {"-n", "-p", "foo", "bar", "-p", "bar", "baz", "-f", ".txt", tree});
    EXPECT_EQ(dry.Status, 0);
    EXPECT_EQ(dry.Out, tree + "/a.txt\n");
    EXPECT_EQ(ReadBytes(tree + "/a.txt"), "foo\n");

    const TRun run = Cli(dir, {"--pair", "foo", "bar", "--pair", "bar", "baz", "--filter",
                               ".txt", tree});
    EXPECT_EQ(run.Out, tree + "/a.txt\n");
    EXPECT_EQ(ReadBytes(tree + "/a.txt"), "baz\r\n");
    EXPECT_EQ(ReadBytes(tree + "/b.html"), "foo\n");
}

TEST(Cli, AReadOnlyFileIsPassedOverAndAnUnreadableOneEndsTheBatch) {
    TTempDir dir;
    const std::string tree = dir / "site";
    dir.Write("site/ro.html", "$#$\n");
    ::chmod((tree + "/ro.html").c_str(), 0444);
    const TRun skipped = Cli(dir, {tree});
    EXPECT_EQ(skipped.Status, 0);
    EXPECT_EQ(skipped.Out, "");
    EXPECT_EQ(ReadBytes(tree + "/ro.html"), "$#$\n");

    std::filesystem::create_symlink(dir / "nowhere", tree + "/broken.html");
    const TRun ended = Cli(dir, {tree});
    EXPECT_EQ(ended.Status, 1);
    EXPECT_NE(ended.Err.find("Cannot open file " + tree + "/broken.html"), std::string::npos)
        << ended.Err;
}

TEST(Cli, BadUsageExitsWithTwo) {
    TTempDir dir;
    dir.Write("file.html", "x");
    const std::vector<std::vector<std::string>> usages = {
        {},
        {"--no-such-option", dir.Path()},
        {dir / "missing"},
        {dir / "file.html"},
        {"-f", "1", "-f", "2", "-f", "3", "-f", "4", "-f", "5", dir.Path()},
        {"-p", "1", "", "-p", "2", "", "-p", "3", "", "-p", "4", "", "-p", "5", "", dir.Path()},
    };
    for (const auto& args : usages) {
        std::string joined;
        for (const std::string& arg : args) {
            joined += " " + Quote(arg);
        }
        const int status =
            std::system((Quote(ZERORAZ_CLI) + joined + " >/dev/null 2>/dev/null").c_str());
        EXPECT_EQ(WEXITSTATUS(status), 2) << joined;
    }
}

TEST(Cli, WithoutRuleOptionsTheRulesTheWindowSavedApply) {
    TTempDir dir;
    const std::string tree = dir / "site";
    const std::string saved = "[config]\r\n"
                              "name1=s1\r\nname2=one\r\nname4=s4\r\nname5=four\r\n"
                              "name6=s6\r\nname7=six\r\nname8=s8\r\nname9=eight\r\n"
                              "name3=.a\r\nname10=.b\r\nname11=.c\r\n";
    const std::string ini = dir.Write("config/zeroraz.ini", saved);
    // The command line's own name must not count: the window's file is the one.
    const std::string own = dir.Write("config/zeroraz-cli.ini", "[config]\r\nname1=s4\r\n");
    for (const char* name : {"x.a", "x.b", "x.c", "x.html", "x.d"}) {
        dir.Write(std::string("site/") + name, "s1 s4 s6 s8 $#$\n");
    }

    const TRun run = Cli(dir, {tree});
    EXPECT_EQ(run.Status, 0) << run.Err;
    for (const char* name : {"x.a", "x.b", "x.c", "x.html"}) {
        EXPECT_EQ(ReadBytes(tree + "/" + name), "one four six eight $#$\r\n") << name;
    }
    EXPECT_EQ(ReadBytes(tree + "/x.d"), "s1 s4 s6 s8 $#$\n");
    EXPECT_EQ(ReadBytes(ini), saved);
    EXPECT_EQ(ReadBytes(own), "[config]\r\nname1=s4\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "config"),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(Cli, GivenPairsOrFiltersReplaceOnlyTheirOwnKind) {
    TTempDir dir;
    const std::string tree = dir / "site";
    dir.Write("config/zeroraz.ini", "[config]\nname1=saved\nname2=SAVED\n"
                                    "name3=.txt\nname10=.txt\nname11=.txt\nname12=.txt\n");
    dir.Write("site/a.txt", "saved given\n");
    dir.Write("site/b.html", "saved given\n");

    const TRun pairsGiven = Cli(dir, {"-n", "-p", "given", "x", tree});
    EXPECT_EQ(pairsGiven.Out, tree + "/a.txt\n");

    const TRun filtersGiven = Cli(dir, {"-f", ".html", tree});
    EXPECT_EQ(filtersGiven.Out, tree + "/b.html\n");
    EXPECT_EQ(ReadBytes(tree + "/b.html"), "SAVED given\r\n");
    EXPECT_EQ(ReadBytes(tree + "/a.txt"), "saved given\n");
}
