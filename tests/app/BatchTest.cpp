#include <filesystem>

#include <QTimer>

#include <sys/stat.h>

#include "tests/app/FormFixture.h"
#include "tests/common/QtTestMain.h"

namespace {

QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

class TBatchTest : public QObject {
    Q_OBJECT

private slots:
    void BatchRewritesListsAndCounts() {
        TFormFixture f;
        f.SetRule(1, "foo");
        f.SetRule(2, "bar");
        f.SetRule(4, "bar");
        f.SetRule(5, "baz");
        const std::string tree = f.Dir / "site";
        f.Dir.Write("site/a.html", "foo\nFOO foo\n");
        f.Dir.Write("site/b.html", "nothing\n");
        f.Dir.Write("site/c.txt", "foo\n");
        f.Dir.Write("site/sub/d.html.bak", "x foo");

        f.RunBatch(tree);

        QCOMPARE(ReadBytes(tree + "/a.html"), std::string("baz\r\nbaz baz\r\n"));
        QCOMPARE(ReadBytes(tree + "/b.html"), std::string("nothing\n"));
        QCOMPARE(ReadBytes(tree + "/c.txt"), std::string("foo\n"));
        QCOMPARE(ReadBytes(tree + "/sub/d.html.bak"), std::string("x baz\r\n"));
        QCOMPARE(Sorted(f.Rows()), QStringList({Q(tree + "/a.html"), Q(tree + "/sub/d.html.bak")}));
        QCOMPARE(f.Form->StatusPanelText(1), QStringLiteral("2"));
        QCOMPARE(ChangedCount, 2);
        // The progress line keeps the last text of the walk: a file or a directory.
        QVERIFY(f.Progress().startsWith(QStringLiteral("当前搜索文件: ")) ||
                f.Progress().startsWith(QStringLiteral("找到下级目录: ")));
        QVERIFY(f.Dialogs.Errors().isEmpty());
        QVERIFY(f.Dialogs.Unexpected().isEmpty());
    }

    void TheProgressLineFollowsTheWalk() {
        TFormFixture f;
        const std::string tree = f.Dir / "empty";
        std::filesystem::create_directories(tree);
        f.RunBatch(tree);
        QCOMPARE(f.Progress(), QStringLiteral("找到下级目录: ") + Q(tree));
        QCOMPARE(f.Form->StatusPanelText(1), QStringLiteral("0"));
        QCOMPARE(f.Rows(), QStringList());

        f.Dir.Write("files/only.html", "no rule text here");
        f.RunBatch(f.Dir / "files");
        QCOMPARE(f.Progress(), QStringLiteral("当前搜索文件: ") + Q(f.Dir / "files/only.html"));
    }

    void TwoBatchesInARowStartAfresh_CancelKeepsTheLast() {
        TFormFixture f;
        f.Dir.Write("one/a.html", "$#$");
        f.Dir.Write("one/b.html", "$#$");
        f.Dir.Write("two/c.html", "$#$");
        f.RunBatch(f.Dir / "one");
        QCOMPARE(f.Rows().size(), 2);
        f.RunBatch(f.Dir / "two");
        QCOMPARE(f.Rows(), QStringList({Q(f.Dir / "two/c.html")}));
        QCOMPARE(f.Form->StatusPanelText(1), QStringLiteral("1"));

        const QString progress = f.Progress();
        f.Dialogs.NextDirectoryCancel();
        f.Form->ui->SpeedButton3->click();
        QCOMPARE(f.Rows(), QStringList({Q(f.Dir / "two/c.html")}));
        QCOMPARE(f.Form->StatusPanelText(1), QStringLiteral("1"));
        QCOMPARE(f.Progress(), progress);
    }

    void AnUnreadableFileEndsTheBatchWithOneErrorBox() {
        TFormFixture f;
        const std::string tree = f.Dir / "site";
        f.Dir.Write("site/a.html", "$#$");
        std::filesystem::create_symlink(f.Dir / "nowhere", tree + "/broken.html");
        f.RunBatch(tree);
        QCOMPARE(f.Dialogs.Errors(), QStringList({QStringLiteral("Cannot open file ") +
                                                  Q(tree + "/broken.html") + "."}));
        // Whatever the batch did before the unreadable file stays done and shown.
        QCOMPARE(f.Rows().size(), ChangedCount);
        QCOMPARE(f.Form->StatusPanelText(1), QString::number(ChangedCount));
        QVERIFY(!f.Form->BatchRunning());
    }

    void AReadOnlyFileIsPassedOverAndTheBatchGoesOn() {
        TFormFixture f;
        const std::string tree = f.Dir / "site";
        f.Dir.Write("site/ro.html", "$#$\n");
        f.Dir.Write("site/rw1.html", "$#$\n");
        f.Dir.Write("site/rw2.html", "$#$\n");
        ::chmod((tree + "/ro.html").c_str(), 0444);
        f.RunBatch(tree);
        QCOMPARE(ReadBytes(tree + "/ro.html"), std::string("$#$\n"));
        QCOMPARE(Sorted(f.Rows()), QStringList({Q(tree + "/rw1.html"), Q(tree + "/rw2.html")}));
        QVERIFY(f.Dialogs.Errors().isEmpty());
    }

    void AnEmptyChosenTextShowsTheChoosersError() {
        TFormFixture f;
        f.Dir.Write("site/a.html", "$#$");
        f.RunBatch(f.Dir / "site");
        f.Dialogs.NextDirectoryFailure();
        f.Form->ui->SpeedButton3->click();
        QCOMPARE(f.Dialogs.Errors(), QStringList({QStringLiteral("Unable to create directory.")}));
        QCOMPARE(f.Rows().size(), 1); // nothing was reset
    }

    void ASecondPressDuringABatchIsIgnored() {
        TFormFixture f;
        f.Dir.Write("site/sub/a.html", "$#$");
        QTimer::singleShot(0, f.Form->ui->SpeedButton3, &QToolButton::click);
        f.RunBatch(f.Dir / "site");
        QVERIFY(f.Dialogs.Unexpected().isEmpty()); // the chooser was not asked again
        QCOMPARE(f.Rows().size(), 1);
    }

    void AnExitConfirmedDuringABatchStopsTheWalk() {
        TFormFixture f;
        for (int i = 0; i < 5; ++i) {
            f.Dir.Write("site/d" + std::to_string(i) + "/a.html", "$#$");
        }
        f.Form->show();
        f.Dialogs.NextConfirm(TConfirmAnswer::Yes);
        QTimer::singleShot(0, f.Form.get(), &QWidget::close);
        f.RunBatch(f.Dir / "site");
        QVERIFY(!f.Form->isVisible());
        QCOMPARE(ChangedCount, 0); // stopped at the first directory below the start
        QCOMPARE(f.Dialogs.ConfirmTexts().size(), 1);
        QVERIFY(f.Dialogs.Errors().isEmpty());
    }

    void TheSaveButtonWritesOneRowPerLine() {
        TFormFixture f;
        f.Dir.Write("site/a.html", "$#$");
        f.RunBatch(f.Dir / "site");
        const std::string saved = f.Dir / "rows.txt";
        f.Dialogs.NextSaveFileName(Q(saved));
        f.Form->ui->SpeedButton5->click();
        QCOMPARE(ReadBytes(saved), (f.Dir / "site/a.html") + "\n");
    }
};

ZR_REGISTER_QTEST(TBatchTest);
#include "BatchTest.moc"
