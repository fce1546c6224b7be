#pragma once

#include <cstdio>
#include <string>

#include "scan/DiskScan.h"
#include "text/Filter.h"
#include "text/Replace.h"
#include "text/StringList.h"

class TCodePage;

// One batch from the command line, run as the window's Directory button runs one: every
// file below the directory whose path holds a filter is loaded, the pairs are applied and
// the file is written back when a search text occurred. A failure inside the pass of one
// file is passed over; a file that cannot be read ends the batch (EFOpenError propagates).
class TCliBatch {
public:
    struct TOptions {
        TReplacePairs Pairs;
        TFileFilters Filters;
        bool DryRun = false;
        // Where each written path goes, one per line; progress, when wanted, goes to Progress.
        std::FILE* Output = stdout;
        std::FILE* Progress = nullptr;
    };

    TCliBatch(TOptions options, const TCodePage& codePage);

    // Walks directory; answers the number of files written back (or that would be).
    int Run(const std::string& directory);
    int ChangedCount() const { return FChangedCount; }

private:
    void FileFound(const std::string& fileName);
    void DirFound(const std::string& directory);
    void ShowProgress();

    TOptions FOptions;
    const TCodePage& FCodePage;
    TDiskScan FScan;
    TStringList FLines;
    bool FFlushEachPath;
    int FChangedCount = 0;
    std::string FCurrentDirectory;
    long long FLastProgressMs = 0;
};
