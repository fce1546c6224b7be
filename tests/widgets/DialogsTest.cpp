#include <QFileDialog>
#include <QObject>
#include <QTest>
#include <QUrl>

#include "platform/Exceptions.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/TempDir.h"
#include "tests/widgets/ModalDriver.h"
#include "widgets/ScriptedDialogs.h"

class TDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void ScriptedAnswersInOrderAndRecords() {
        TScriptedDialogs dialogs;
        dialogs.NextConfirm(TConfirmAnswer::Closed);
        dialogs.NextConfirm(TConfirmAnswer::Yes);
        dialogs.NextDirectory(QStringLiteral("/srv/www"));
        dialogs.NextDirectoryCancel();
        dialogs.NextDirectoryFailure();
        dialogs.NextSaveFileName(QStringLiteral("/tmp/list.txt"));
        QVERIFY(dialogs.HasPendingAnswers());

        QCOMPARE(dialogs.Confirm(nullptr, QStringLiteral("one")), TConfirmAnswer::Closed);
        QCOMPARE(dialogs.Confirm(nullptr, QStringLiteral("two")), TConfirmAnswer::Yes);
        QString directory = QStringLiteral("unchanged");
        QVERIFY(dialogs.SelectDirectory(nullptr, directory));
        QCOMPARE(directory, QStringLiteral("/srv/www"));
        QVERIFY(!dialogs.SelectDirectory(nullptr, directory));
        QCOMPARE(directory, QStringLiteral("/srv/www"));
        try {
            dialogs.SelectDirectory(nullptr, directory);
            QFAIL("the chooser's failure was not thrown");
        } catch (const Exception& failure) {
            QCOMPARE(failure.Message(), std::string("Unable to create directory"));
        }
        QCOMPARE(dialogs.SaveFileName(nullptr), QStringLiteral("/tmp/list.txt"));
        dialogs.OpenUrl(QUrl(QStringLiteral("mailto:a@b.c")));

        QVERIFY(!dialogs.HasPendingAnswers());
        QCOMPARE(dialogs.ConfirmTexts(), (QStringList{"one", "two"}));
        QCOMPARE(dialogs.OpenedUrls(), QList<QUrl>{QUrl(QStringLiteral("mailto:a@b.c"))});
        QVERIFY(dialogs.Unexpected().isEmpty());
    }

    void ScriptedWithoutAnswerCancelsAndReports() {
        TScriptedDialogs dialogs;
        QCOMPARE(dialogs.Confirm(nullptr, QStringLiteral("确认退出?")), TConfirmAnswer::No);
        QString directory = QStringLiteral("kept");
        QVERIFY(!dialogs.SelectDirectory(nullptr, directory));
        QCOMPARE(directory, QStringLiteral("kept"));
        QVERIFY(dialogs.SaveFileName(nullptr).isEmpty());
        QCOMPARE(dialogs.Unexpected(),
                 (QStringList{"Confirm: 确认退出?", "SelectDirectory", "SaveFileName"}));
        QCOMPARE(dialogs.ConfirmTexts(), QStringList{"确认退出?"});
    }

    void SaveDialogOffersTextFiles() {
        TTempDir temp;
        const QString target = QString::fromStdString(temp / "results");
        WhenModal<QFileDialog>([&](QFileDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("搜索结果保存为"));
            QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog.nameFilters(), (QStringList{"Text files(*.txt)", "All files(*.*)"}));
            QCOMPARE(dialog.defaultSuffix(), QStringLiteral("txt"));
            QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
            dialog.selectFile(target);
            static_cast<QDialog&>(dialog).accept(); // QFileDialog hides accept()
        });
        TDialogs dialogs;
        QCOMPARE(dialogs.SaveFileName(nullptr), target + ".txt");

        WhenModal<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
        QVERIFY(dialogs.SaveFileName(nullptr).isEmpty());
    }
};

ZR_REGISTER_QTEST(TDialogsTest);
#include "DialogsTest.moc"
