#include "text/Rewrite.h"

#include "platform/WholeFile.h"
#include "text/StringList.h"

bool RewriteIfChanged(TStringList& lines, const std::string& path, const TReplacePairs& pairs,
                      const TCodePage& codePage, bool dryRun) {
    if (dryRun) {
        if (!WouldReplaceInLines(lines, pairs) || lines.HeldNul()) {
            return false;
        }
        // The save would refuse a read-only file; the mode read with the file tells.
        return lines.LoadedFromFile() ? !lines.LoadedReadOnly() : !IsReadOnlyFile(path);
    }
    if (!ReplaceInLines(lines, pairs, codePage) || lines.HeldNul()) {
        return false;
    }
    lines.SaveLines(path);
    return true;
}
