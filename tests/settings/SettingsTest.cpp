#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

#include "platform/Exceptions.h"
#include "settings/Settings.h"
#include "tests/settings/ConfigHome.h"

namespace {

const std::string kFile = "zeroraz.ini";

// Edit1 .. Edit12 in memory, starting with design-time texts, with a hook run before a
// field's text is taken.
class TFakeFields : public TRuleFieldTexts {
public:
    TFakeFields() {
        for (int i = 1; i <= 12; ++i) {
            SetText(i, "design " + std::to_string(i));
        }
    }
    std::string GetText(int editNumber) const override {
        if (BeforeGet) {
            BeforeGet(editNumber);
        }
        return TRuleFieldTexts::GetText(editNumber);
    }
    std::function<void(int)> BeforeGet;
};

const std::array<std::string, 12> kDefaults = {"$#$", "",    ".html", "$#$",   "",      "$#$",
                                               "",    "$#$", "",      ".html", ".html", ".html"};

const std::string kAllDefaults = "[config]\r\n"
                                 "name1=$#$\r\nname4=$#$\r\nname6=$#$\r\nname8=$#$\r\n"
                                 "name2=\r\nname5=\r\nname7=\r\nname9=\r\n"
                                 "name3=.html\r\nname10=.html\r\nname11=.html\r\nname12=.html\r\n";

} // namespace

TEST(Settings, WithoutAFileTheDefaultsShowAndAllTwelveKeysAreWrittenInOrder) {
    TConfigHome home;
    TFakeFields fields;
    ReadSettings(kFile, fields);
    EXPECT_EQ(fields.Texts, kDefaults);
    EXPECT_EQ(IniFile, nullptr);

    WriteSettings(kFile, fields);
    EXPECT_EQ(ReadBytes(home.File(kFile)), kAllDefaults);
    EXPECT_EQ(IniFile, nullptr);
}

TEST(Settings, StoredTextsComeBackAsTheyWereSavedAnEmptiedFieldStaysEmpty) {
    TConfigHome home;
    TFakeFields saved;
    ReadSettings(kFile, saved);
    saved.SetText(1, "");
    saved.SetText(3, "");
    saved.SetText(2, "\xD6\xD0 \"x\" y");
    saved.SetText(4, " padded ");
    saved.SetText(12, std::string(3000, 'f'));
    WriteSettings(kFile, saved);

    TFakeFields loaded;
    ReadSettings(kFile, loaded);
    EXPECT_EQ(loaded.Texts[0], "");
    EXPECT_EQ(loaded.Texts[2], "");
    EXPECT_EQ(loaded.Texts[1], "\xD6\xD0 \"x\" y");
    EXPECT_EQ(loaded.Texts[3], "padded");
    EXPECT_EQ(loaded.Texts[11], std::string(2047, 'f'));
    EXPECT_EQ(loaded.Texts[5], "$#$");
}

TEST(Settings, APartialFileGivesDefaultsForTheRestAndGetsAllTwelveKeys) {
    TConfigHome home;
    home.Write(kFile, "[config]\r\nname4=abc\r\nname10=.htm\r\n");
    TFakeFields fields;
    ReadSettings(kFile, fields);
    std::array<std::string, 12> expected = kDefaults;
    expected[3] = "abc";
    expected[9] = ".htm";
    EXPECT_EQ(fields.Texts, expected);

    WriteSettings(kFile, fields);
    EXPECT_EQ(ReadBytes(home.File(kFile)), "[config]\r\nname4=abc\r\nname10=.htm\r\n"
                                           "name1=$#$\r\nname6=$#$\r\nname8=$#$\r\n"
                                           "name2=\r\nname5=\r\nname7=\r\nname9=\r\n"
                                           "name3=.html\r\nname11=.html\r\nname12=.html\r\n");
}

TEST(Settings, ARefusedWriteRaisesAndWritesNoLaterKey) {
    {
        TConfigHome home;
        const std::string path = home.Write(kFile, "[config]\r\nname1=old\r\n");
        ::chmod(path.c_str(), 0444);
        TFakeFields fields;
        try {
            WriteSettings(kFile, fields);
            FAIL() << "no exception";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to zeroraz.ini");
        }
        EXPECT_EQ(ReadBytes(path), "[config]\r\nname1=old\r\n");
        EXPECT_EQ(IniFile, nullptr);
    }
    {
        // The file turns read-only just before the third key, name6, is written.
        TConfigHome home;
        TFakeFields fields;
        fields.BeforeGet = [&](int editNumber) {
            if (editNumber == 6) {
                ::chmod(home.File(kFile).c_str(), 0444);
            }
        };
        EXPECT_THROW(WriteSettings(kFile, fields), EIniFileException);
        EXPECT_EQ(ReadBytes(home.File(kFile)), "[config]\r\nname1=design 1\r\nname4=design 4\r\n");
    }
}

TEST(Settings, LoadAndSaveUseTheFileNamedAfterTheProgram) {
    TConfigHome home;
    IniFileName.clear();
    TFakeFields fields;
    // Without a load there is nothing loaded to keep, and no file is written.
    SaveSettings(fields);
    EXPECT_FALSE(std::filesystem::exists(home.Config()));

    LoadSettings(fields);
    // This test program is settings_tests (or its sanitized twin settings_tests_san).
    EXPECT_TRUE(ExeFileName.starts_with("settings_tests")) << ExeFileName;
    EXPECT_EQ(IniFileName, ExeFileName + ".ini");
    EXPECT_EQ(fields.Texts, kDefaults);
    SaveSettings(fields);
    EXPECT_EQ(ReadBytes(home.File(IniFileName)), kAllDefaults);
}
