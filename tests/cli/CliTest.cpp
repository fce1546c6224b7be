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

TRun Cli(const TTempDir& dir, std::initializer_list<std::string> args) {
    std::string command = Quote(ZERORAZ_CLI);
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
