#include <QAction>
#include <QMenu>
#include <QSignalSpy>

#include "tests/app/FormFixture.h"
#include "tests/common/QtTestMain.h"
#include "widgets/TaskbarIcon.h"

class TTrayTest : public QObject {
    Q_OBJECT

    static void ExpectShownState(const TForm1& form) {
        QVERIFY(form.isVisible());
        QVERIFY(!form.N17->isEnabled());
        QVERIFY(form.N18->isEnabled());
    }
    static void ExpectTrayState(const TForm1& form) {
        QVERIFY(!form.isVisible());
        QVERIFY(form.N17->isEnabled());
        QVERIFY(!form.N18->isEnabled());
    }

private slots:
    void TheMenuAsDesigned() {
        TFormFixture f;
        QStringList captions;
        for (QAction* action : f.Form->PopupMenu1->actions()) {
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        QCOMPARE(captions,
                 QStringList({"显示主程序(&S)", "最小化显示(&M)", "与我们联系(&L)",
                              "访问Ziridez主页(&V)", "关于本软件(&A)", "-", "退 出(&Exit)"}));
        QCOMPARE(f.Form->antTaskbarIcon1->PopupMenu(), f.Form->PopupMenu1);
        QCOMPARE(f.Form->antTaskbarIcon1->Hint(), QStringLiteral("『Zeroraz网页批量修改器』V2.0"));
    }

    void HideToTheTrayAndComeBack() {
        TFormFixture f;
        f.Form->show();
        ExpectShownState(*f.Form);
        f.Form->N18->trigger();
        ExpectTrayState(*f.Form);
        f.Form->antTaskbarIcon1->Activate(QSystemTrayIcon::Trigger);
        ExpectShownState(*f.Form);
        // A click on the icon while the window is shown changes nothing.
        f.Form->antTaskbarIcon1->Activate(QSystemTrayIcon::Trigger);
        ExpectShownState(*f.Form);
        f.Form->N18->trigger();
        f.Form->N17->trigger();
        ExpectShownState(*f.Form);
    }

    void AMaximisedWindowComesBackMaximised() {
        TFormFixture f;
        f.Form->showMaximized();
        f.Form->N18->trigger();
        ExpectTrayState(*f.Form);
        f.Form->N17->trigger();
        QVERIFY(f.Form->isMaximized());
    }

    void MinimisingHidesToTheTray() {
        TFormFixture f;
        f.Form->show();
        f.Application.Minimize();
        QTRY_VERIFY(!f.Form->isVisible());
        ExpectTrayState(*f.Form);
        f.Form->antTaskbarIcon1->Activate(QSystemTrayIcon::Trigger);
        QVERIFY(f.Form->isVisible());
        QVERIFY(!f.Form->isMinimized());
    }

    void WithoutANotificationAreaTheWindowNeverHides() {
        TFormFixture f;
        f.Form->TrayAvailable = [] { return false; };
        f.Form->show();
        f.Form->N18->trigger();
        ExpectShownState(*f.Form);
    }

    void TheExitQuestion() {
        struct Case {
            TConfirmAnswer answer;
            bool closes;
        } cases[] = {{TConfirmAnswer::No, false},
                     {TConfirmAnswer::Yes, true},
                     {TConfirmAnswer::Closed, true}};
        for (const Case& c : cases) {
            TFormFixture f;
            f.Form->show();
            f.Dialogs.NextConfirm(c.answer);
            f.Form->ui->SpeedButton1->click();
            QCOMPARE(f.Dialogs.ConfirmTexts(),
                     QStringList({QStringLiteral("确认退出Zeroraz网页批量修改器吗?")}));
            QCOMPARE(f.Form->isVisible(), !c.closes);
        }
    }

    void NoKeepsAWindowInTheTrayHidden() {
        TFormFixture f;
        f.Form->show();
        f.Form->N18->trigger();
        f.Dialogs.NextConfirm(TConfirmAnswer::No);
        f.Form->N23->trigger();
        ExpectTrayState(*f.Form);
        QCOMPARE(f.Dialogs.ConfirmTexts().size(), 1);
    }

    void TheLinksOpenTheMakersPages() {
        TFormFixture f;
        f.Form->ui->SpeedButton2->click();
        f.Form->N19->trigger();
        QCOMPARE(f.Dialogs.OpenedUrls().size(), 2);
        QCOMPARE(f.Dialogs.OpenedUrls()[0].scheme(), QStringLiteral("http"));
        QCOMPARE(f.Dialogs.OpenedUrls()[1].scheme(), QStringLiteral("mailto"));
    }

    void TheAboutWindowOpensFromTheToolbarAndTheMenu() {
        TFormFixture f;
        int shown = 0;
        f.Form->ShowAboutWindow = [&shown] { ++shown; };
        f.Form->ui->SpeedButton9->click();
        f.Form->N21->trigger();
        QCOMPARE(shown, 2);
    }
};

ZR_REGISTER_QTEST(TTrayTest);
#include "TrayTest.moc"
