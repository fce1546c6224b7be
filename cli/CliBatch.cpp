#include "cli/CliBatch.h"

#include <chrono>
#include <exception>

#include <unistd.h>

#include "text/Rewrite.h"

namespace {
long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
constexpr long long kProgressIntervalMs = 250;
} // namespace

TCliBatch::TCliBatch(TOptions options, const TCodePage& codePage)
    : FOptions(std::move(options)), FCodePage(codePage),
      FFlushEachPath(FOptions.Output != nullptr && ::isatty(::fileno(FOptions.Output)) == 1) {
    FScan.OnFileFound = [this](TObject*, const std::string& fileName) { FileFound(fileName); };
    FScan.OnDirFound = [this](TObject*, const std::string& directory) { DirFound(directory); };
    if (FOptions.Progress != nullptr) {
        FScan.ProcessMessages = [this] { ShowProgress(); };
    }
}

int TCliBatch::Run(const std::string& directory) {
    FChangedCount = 0;
    FScan.SetStartDirectory(directory);
    try {
        FScan.Execute();
    } catch (...) {
        std::fflush(FOptions.Output);
        if (FOptions.Progress != nullptr) {
            std::fputs("\r\033[K", FOptions.Progress);
        }
        throw;
    }
    std::fflush(FOptions.Output);
    if (FOptions.Progress != nullptr) {
        std::fputs("\r\033[K", FOptions.Progress);
    }
    return FChangedCount;
}

void TCliBatch::DirFound(const std::string& directory) {
    FCurrentDirectory = directory;
}

void TCliBatch::ShowProgress() {
    const long long now = NowMs();
    if (now - FLastProgressMs < kProgressIntervalMs) {
        return;
    }
    FLastProgressMs = now;
    std::fprintf(FOptions.Progress, "\r\033[K%s", FCurrentDirectory.c_str());
    std::fflush(FOptions.Progress);
}

void TCliBatch::FileFound(const std::string& fileName) {
    if (!PathMatchesFilters(fileName, FOptions.Filters)) {
        return;
    }
    FLines.ClearLines();
    // Not guarded: a file that cannot be read ends the batch.
    if (FScan.FoundFileDirectory() >= 0) {
        FLines.LoadLinesAt(FScan.FoundFileDirectory(), FScan.FoundFileName(), fileName);
    } else {
        FLines.LoadLines(fileName);
    }
    bool written = false;
    try {
        written = RewriteIfChanged(FLines, fileName, FOptions.Pairs, FCodePage, FOptions.DryRun);
    } catch (const std::exception&) {
        return; // the one guard: a failed pass leaves the file as it was and the batch goes on
    }
    if (written) {
        ++FChangedCount;
        std::fwrite(fileName.data(), 1, fileName.size(), FOptions.Output);
        std::fputc('\n', FOptions.Output);
        if (FFlushEachPath) {
            std::fflush(FOptions.Output); // a terminal sees each path as it is written
        }
    }
}
