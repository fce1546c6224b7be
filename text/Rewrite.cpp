#include "text/Rewrite.h"

#include "platform/WholeFile.h"
#include "text/StringList.h"

bool RewriteIfChanged(TStringList& lines, const std::string& path, const TReplacePairs& pairs,
                      const TCodePage& codePage, bool dryRun) {
    if (!ReplaceInLines(lines, pairs, codePage) || lines.HeldNul()) {
        return false;
    }
    if (dryRun) {
        return !IsReadOnlyFile(path);
    }
    lines.SaveLines(path);
    return true;
}
