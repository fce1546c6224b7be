#pragma once

#include <string>

#include "text/Replace.h"

class TCodePage;
class TStringList;

// The replacement pass over one loaded file: the pairs on every line, and the lines saved
// over the file at path when any pair's test succeeded. Answers whether the file was written
// back (or, with dryRun, would be: then nothing is written and the lines stay as they are).
// A file that held a NUL byte is never written back: its lines lack what followed the NUL.
// Save failures propagate (EFCreateError, EWriteError).
bool RewriteIfChanged(TStringList& lines, const std::string& path, const TReplacePairs& pairs,
                      const TCodePage& codePage, bool dryRun = false);
