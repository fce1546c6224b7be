#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "settings/SettingsFileName.h"

TEST(SettingsFileName, FollowsTheProgramFileName) {
    struct TCase {
        const char* CodePage;
        const char* ProgramPath;
        const char* ExeFileName;
        const char* IniFileName;
    };
    const TCase cases[] = {
        {"UTF-8", "C:\\Tools\\RodOvu.EXE", "rodovu.exe", "rodovu.ini"},
        {"UTF-8", "rodovu.exe", "rodovu.exe", "rodovu.ini"},
        {"UTF-8", "D:RodOvu.exe", "rodovu.exe", "rodovu.ini"},
        {"UTF-8", "tool.ex", "tool.ex", "toolini"},
        {"UTF-8", "/opt/x/a.b", "a.b", "ini"},
        {"UTF-8", "/usr/bin/zeroraz", "zeroraz", "zeroraz.ini"},
        {"UTF-8", "/opt/My.Tools/ZeroRaz", "zeroraz", "zeroraz.ini"},
        {"UTF-8", "/opt/.hidden", ".hidden", ".hidini"},
        // Only A to Z are lower-cased; "Ä" stays as it is.
        {"UTF-8", "/opt/\xC3\x84.EXE", "\xC3\x84.exe", "\xC3\x84.ini"},
        // In GBK "\xB1\\" is one character, so its "\" separates nothing; outside a
        // double-byte page it does.
        {"GBK", "C:\\\xB1\\X.EXE", "\xB1\\x.exe", "\xB1\\x.ini"},
        {"UTF-8", "C:\\\xB1\\X.EXE", "x.exe", "x.ini"},
        // Lower-casing pays no regard to characters: the trail byte "A" is lowered too.
        {"GBK", "/opt/\xB1\x41.EXE", "\xB1\x61.exe", "\xB1\x61.ini"},
    };
    for (const TCase& c : cases) {
        const TCodePage codePage(c.CodePage);
        const std::string exeFileName = ExeFileNameOf(c.ProgramPath, codePage);
        EXPECT_EQ(exeFileName, c.ExeFileName) << c.ProgramPath << " in " << c.CodePage;
        EXPECT_EQ(IniFileNameOf(exeFileName), c.IniFileName) << c.ProgramPath;
    }
}
