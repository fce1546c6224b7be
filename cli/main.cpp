#include <clocale>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include "cli/CliBatch.h"
#include "cli/CliRules.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& message) {
    std::fprintf(stderr, "zeroraz-cli: %s\nRun with --help for usage.\n", message.c_str());
    return kExitUsage;
}

std::string WithoutTrailingSlashes(std::string directory) {
    while (directory.size() > 1 && directory.back() == '/') {
        directory.pop_back();
    }
    return directory;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    CLI::App app{"Rewrites every file below DIRECTORY whose path holds a filter text, applying up "
                 "to four search/replace pairs line by line, and lists the files written back.",
                 "zeroraz-cli"};
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<std::string> filters;
    bool dryRun = false;
    std::string directory;
    app.add_option("-p,--pair", pairs,
                   "SEARCH REPLACE: a pair, up to four times, applied in the order given "
                   "(none given: the pairs saved by the window)");
    app.add_option("-f,--filter", filters,
                   "FILTER: a text that a file's path must hold, up to four times "
                   "(none given: the filters saved by the window)");
    app.add_flag("-n,--dry-run", dryRun, "list what would be written back, write nothing");
    app.add_option("DIRECTORY", directory, "the directory to walk")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return UsageError(e.what());
    }
    if (pairs.size() > 4) {
        return UsageError("at most four pairs (-p) may be given");
    }
    if (filters.size() > 4) {
        return UsageError("at most four filters (-f) may be given");
    }
    struct stat st;
    if (::stat(directory.c_str(), &st) != 0) {
        return UsageError("no such directory: " + directory);
    }
    if (!S_ISDIR(st.st_mode)) {
        return UsageError("not a directory: " + directory);
    }

    TCliBatch::TOptions options;
    options.Pairs = PairsOrDefaults(pairs);
    options.Filters = FiltersOrDefaults(filters);
    options.DryRun = dryRun;
    options.Progress = ::isatty(STDERR_FILENO) ? stderr : nullptr;
    TCliBatch batch(std::move(options), TCodePage::FromLocale());
    const char* verb = dryRun ? "would be written back" : "written back";
    try {
        batch.Run(WithoutTrailingSlashes(directory));
    } catch (const Exception& e) {
        std::fprintf(stderr, "zeroraz-cli: %s\n", e.Message().c_str());
        std::fprintf(stderr, "%d file(s) %s\n", batch.ChangedCount(), verb);
        return kExitUnreadable;
    }
    std::fprintf(stderr, "%d file(s) %s\n", batch.ChangedCount(), verb);
    return kExitDone;
}
