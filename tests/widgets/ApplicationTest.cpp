#include <QApplication>
#include <QGuiApplication>
#include <QObject>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include "tests/common/QtTestMain.h"
#include "widgets/Application.h"

Q_DECLARE_METATYPE(Qt::WindowStates)

namespace {
// The main window of the tests, with the hide-to-tray handler bound as the program binds it.
struct TFixture {
    QWidget Main;
    TApplicationObject Application;
    int Minimizes = 0;

    TFixture() {
        Main.resize(300, 200);
        Application.SetMainWindow(&Main);
        Application.OnMinimize = [this] {
            ++Minimizes;
            Main.hide();
        };
    }
};

QWidget* ToolTipLabel() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QTipLabel") && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}
} // namespace

class TApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void TitleIsNotAppendedToWindowCaptions() {
        const QString displayName = QGuiApplication::applicationDisplayName();
        TApplicationObject application;
        application.SetTitle(QStringLiteral("『Zeroraz网页批量修改器』V2.0"));
        QCOMPARE(ApplicationTitle(), QStringLiteral("『Zeroraz网页批量修改器』V2.0"));
        QCOMPARE(application.Title(), ApplicationTitle());
        QCOMPARE(QGuiApplication::applicationDisplayName(), displayName);
    }

    void HintColourIsTheTooltipBackground() {
        TApplicationObject application;
        application.SetHintColor(QColor(0, 255, 0));
        QCOMPARE(application.HintColor(), QColor(0, 255, 0));
        QWidget window;
        window.show();
        QToolTip::showText(window.mapToGlobal(QPoint(10, 10)), QStringLiteral("提示"), &window);
        QWidget* label = ToolTipLabel();
        QVERIFY(label != nullptr);
        QCOMPARE(label->palette().color(label->backgroundRole()), QColor(0, 255, 0));
        QToolTip::hideText();
    }

    void MinimisingRaisesOnMinimizeFromTheLoop() {
        TFixture fixture;
        fixture.Main.show();
        fixture.Main.showMinimized();
        QVERIFY(fixture.Application.IsMinimized());
        QCOMPARE(fixture.Minimizes, 0);
        QCoreApplication::processEvents();
        QCOMPARE(fixture.Minimizes, 1);
        QVERIFY(!fixture.Main.isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(fixture.Minimizes, 1);
    }

    void MinimizeActsLikeTheTitleBarButton() {
        TFixture fixture;
        fixture.Main.show();
        fixture.Application.Minimize();
        QVERIFY(fixture.Application.IsMinimized());
        QCoreApplication::processEvents();
        QCOMPARE(fixture.Minimizes, 1);
    }

    void RestoreBringsBackTheFormerState_data() {
        QTest::addColumn<Qt::WindowStates>("former");
        QTest::newRow("normal") << Qt::WindowStates(Qt::WindowNoState);
        QTest::newRow("maximised") << Qt::WindowStates(Qt::WindowMaximized);
    }
    void RestoreBringsBackTheFormerState() {
        QFETCH(Qt::WindowStates, former);
        TFixture fixture;
        fixture.Main.setWindowState(former);
        fixture.Main.show();
        fixture.Main.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(!fixture.Main.isVisible());

        // The show action: restore, then show.
        fixture.Application.Restore();
        QVERIFY(!fixture.Application.IsMinimized());
        fixture.Main.show();
        QVERIFY(fixture.Main.isVisible());
        QCOMPARE(fixture.Main.windowState() & ~Qt::WindowActive, former);
        QCoreApplication::processEvents();
        QCOMPARE(fixture.Minimizes, 1);
    }

    void RestoreDoesNothingWhenNotMinimised() {
        TFixture fixture;
        fixture.Main.showMaximized();
        fixture.Application.Restore();
        QCOMPARE(fixture.Main.windowState() & ~Qt::WindowActive,
                 Qt::WindowStates(Qt::WindowMaximized));
        QVERIFY(!fixture.Application.IsMinimized());
    }

    // Without a notification area the window stays minimised on the taskbar; the user brings
    // it back from there.
    void UnminimisedByTheUserIsNoLongerMinimised() {
        TFixture fixture;
        fixture.Application.OnMinimize = [&] { ++fixture.Minimizes; };
        fixture.Main.show();
        fixture.Main.showMinimized();
        fixture.Main.showNormal();
        QVERIFY(!fixture.Application.IsMinimized());
        // A minimise that was undone before the loop ran raises nothing.
        QCoreApplication::processEvents();
        QCOMPARE(fixture.Minimizes, 0);
    }

    void FailingOnMinimizeStaysInside() {
        TFixture fixture;
        fixture.Application.OnMinimize = [] { throw 1; };
        fixture.Main.show();
        fixture.Main.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(fixture.Application.IsMinimized());
    }
};

ZR_REGISTER_QTEST(TApplicationTest);
#include "ApplicationTest.moc"
