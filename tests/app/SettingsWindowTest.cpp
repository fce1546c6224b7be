#include <filesystem>

#include <sys/stat.h>

#include "settings/Settings.h"
#include "tests/app/FormFixture.h"
#include "tests/common/QtTestMain.h"

namespace {

// The keys of the settings file in the order they stand in it.
QStringList KeysInOrder(const std::string& ini) {
    QStringList keys;
    for (const QString& line : QString::fromStdString(ReadBytes(ini)).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0) {
            keys << line.left(eq);
        }
    }
    return keys;
}

QStringList FieldTexts(const TForm1& form) {
    QStringList texts;
    for (const QLineEdit* edit : form.RuleEdits()) {
        texts << edit->text();
    }
    return texts;
}

} // namespace

class TSettingsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void WithoutAFileTheDefaultsAndTheFirstExitWritesEveryKey() {
        TFormFixture f;
        QCOMPARE(FieldTexts(*f.Form), QStringList({"$#$", "", ".html", "$#$", "", "$#$", "", "$#$",
                                                   "", ".html", ".html", ".html"}));
        const std::string ini = f.Dir / ("config/" + IniFileName);
        f.Destroy();
        QCOMPARE(KeysInOrder(ini),
                 QStringList({"name1", "name4", "name6", "name8", "name2", "name5", "name7",
                              "name9", "name3", "name10", "name11", "name12"}));
    }

    void AnEmptiedFieldComesBackEmpty() {
        TFormFixture f;
        f.SetRule(1, "");
        f.SetRule(3, "中文.htm");
        f.Destroy();
        f.Create();
        QCOMPARE(f.Form->ui->Edit1->text(), QString());
        QCOMPARE(f.Form->ui->Edit3->text(), QStringLiteral("中文.htm"));
    }

    void APartialFileGivesDefaultsForTheRest() {
        TFormFixture f(false);
        f.Create();
        const std::string ini = f.Dir / ("config/" + IniFileName);
        f.Form.reset();
        f.Dir.Write("config/" + IniFileName, "[config]\r\nname4=four\r\nname12=\r\n");
        f.Create();
        QCOMPARE(FieldTexts(*f.Form), QStringList({"$#$", "", ".html", "four", "", "$#$", "", "$#$",
                                                   "", ".html", ".html", ""}));
    }

    void ARefusedWriteShowsOneErrorBoxAndShutdownGoesOn() {
        TFormFixture f;
        const std::string ini = f.Dir / ("config/" + IniFileName);
        f.Destroy();
        const std::string before = ReadBytes(ini);
        f.Create();
        f.SetRule(1, "changed");
        ::chmod(ini.c_str(), 0444);
        f.Destroy();
        QCOMPARE(f.Dialogs.Errors(), QStringList({QStringLiteral("Unable to write to ") +
                                                  QString::fromStdString(IniFileName) + "."}));
        QCOMPARE(ReadBytes(ini), before);
    }
};

ZR_REGISTER_QTEST(TSettingsWindowTest);
#include "SettingsWindowTest.moc"
