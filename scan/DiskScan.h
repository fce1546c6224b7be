#pragma once

#include <functional>
#include <string>

#include "platform/Component.h"

using TNotifyFilenameFoundEvent = std::function<void(TObject* Sender, const std::string& FileName)>;
using TNotifyDirectoryFoundEvent =
    std::function<void(TObject* Sender, const std::string& Directory)>;
using TNotifyScanFinishEvent = std::function<void(TObject* Sender)>;

// Walks one directory tree, or every fixed drive, depth first and pre-order, in the order
// the system lists entries, and reports every directory it enters and every file it meets.
// Directories whose name begins with "." are passed over; links to directories are entered,
// but a directory already on the current walk path is not entered again. The walk runs
// synchronously inside Execute, on the calling thread, and lets pending window messages run
// once per directory through ProcessMessages. An exception from a handler ends the walk at
// every level and leaves Execute.
class TDiskScan : public TComponent {
public:
    TDiskScan() = default;
    virtual ~TDiskScan() = default;

    // The directory to walk, without a trailing "/" (the root "/" itself excepted). Empty
    // means every fixed drive. Not checked: a directory that cannot be listed has no entries.
    const std::string& StartDirectory() const { return FStartDirectory; }
    void SetStartDirectory(std::string directory) { FStartDirectory = std::move(directory); }

    TNotifyFilenameFoundEvent OnFileFound;
    TNotifyDirectoryFoundEvent OnDirFound;
    TNotifyScanFinishEvent OnScanFinish;
    // Lets pending window messages run, once, right after each directory's OnDirFound.
    std::function<void()> ProcessMessages;

    // Walks from StartDirectory as it is at the call, then raises OnScanFinish. Always true.
    bool Execute();

    // Raises OnDirFound when it is bound; called once for every directory entered.
    virtual void DoDirFound(const std::string& Directory);

    // While OnFileFound runs: the open directory that lists the file, and the file's name in
    // it, so that a handler can open the file without the whole path being looked up again.
    // -1 and nullptr at any other time.
    int FoundFileDirectory() const { return FFoundDirectory; }
    const char* FoundFileName() const { return FFoundName; }

private:
    struct TWalk;
    void ScanDirectory(TWalk& walk, const std::string& directory, int parentFd, const char* name);
    void ScanFixedDrives(TWalk& walk);

    std::string FStartDirectory;
    int FFoundDirectory = -1;
    const char* FFoundName = nullptr;
};
