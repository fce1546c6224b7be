#include <functional>

#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "about/Unit4.h"
#include "tests/common/QtTestMain.h"

namespace {

// Runs whileOpen once the modal showing has begun; whatever it leaves open is closed after it,
// so a failing check cannot hang the test.
int ShowModalAnd(TForm2& form, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &form, [&form, whileOpen] {
        whileOpen();
        if (form.isVisible()) {
            form.done(-1);
        }
    });
    return form.ShowModal();
}

// Clicks the widget the way the window system does, through its top-level window, so a modal
// window blocks the click and a widget lying above it takes it.
void ClickThroughWindow(QWidget* widget) {
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(window, widget->rect().center()));
}

} // namespace

// The about window over a stand-in main window, with the links' opener recording targets.
class TAboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FMain = std::make_unique<QWidget>();
        FMain->setGeometry(10, 10, 200, 150);
        FForm = new TForm2(FMain.get());
        FOpened.clear();
        FForm->SetLinkOpener([this](const QUrl& url) { FOpened.append(url); });
    }

    void cleanup() { FMain.reset(); }

    void LinksOpenTheirTargets_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("url");
        QTest::newRow("home page") << "cwHyperLink1"
                                   << "http://www.zeroraz.example"
                                   << "http://www.zeroraz.example";
        QTest::newRow("other host") << "cwHyperLink3"
                                    << "www.zeroraz.example/soft"
                                    << "http://soft.zeroraz.example/";
        QTest::newRow("contact opens mail") << "cwHyperLink2"
                                            << "QQ:10000000 Tel:000-00000000"
                                            << "mailto:maker@zeroraz.example";
    }

    void LinksOpenTheirTargets() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, url);
        FForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(FForm));
        auto* link = FForm->findChild<TcwHyperLink*>(name);
        QVERIFY(link);
        QCOMPARE(link->Caption(), caption);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(FOpened, QList<QUrl>{QUrl(url)});
    }

    void PressedLinkStaysFuchsiaAtNextShowing() {
        auto* link = FForm->findChild<TcwHyperLink*>("cwHyperLink2");
        FForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(FForm));
        QCOMPARE(link->TextColor(), QColor(Qt::blue));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(link, &enter);
        QCOMPARE(link->TextColor(), QColor(Qt::red));
        QTest::mousePress(link, Qt::LeftButton, {}, QPoint(4, 4));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(link, &leave);
        QCOMPARE(link->TextColor(), QColor(255, 0, 255));

        // The close box hides the window; the next showing is the same window.
        QVERIFY(FForm->close());
        QVERIFY(!FForm->isVisible());
        ShowModalAnd(*FForm, [&] {
            QVERIFY(FForm->isVisible());
            QCOMPARE(link->TextColor(), QColor(255, 0, 255));
        });
        QCOMPARE(FOpened.size(), 1);
    }

    void EnterClosesWithOk_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("receiver");
        QTest::newRow("return on the button") << int(Qt::Key_Return) << "OKButton";
        QTest::newRow("enter on a link") << int(Qt::Key_Enter) << "cwHyperLink1";
        QTest::newRow("return on a label") << int(Qt::Key_Return) << "ProductName";
    }

    void EnterClosesWithOk() {
        QFETCH(int, key);
        QFETCH(QString, receiver);
        const int result = ShowModalAnd(*FForm, [&] {
            auto* widget = FForm->findChild<QWidget*>(receiver);
            QVERIFY(widget);
            QTest::keyClick(widget, Qt::Key_Escape);
            QVERIFY(FForm->isVisible());
            QTest::keyClick(widget, Qt::Key(key));
            QVERIFY(!FForm->isVisible());
        });
        QCOMPARE(result, 1);
    }

    void ButtonClickClosesWithOk() {
        const int result = ShowModalAnd(*FForm, [&] {
            QVERIFY(QTest::qWaitForWindowExposed(FForm));
            ClickThroughWindow(FForm->findChild<QPushButton*>("OKButton"));
        });
        QCOMPARE(result, 1);
    }

    void CloseBoxHidesWithoutOk() {
        const int result = ShowModalAnd(*FForm, [&] { QVERIFY(FForm->close()); });
        QCOMPARE(result, 0);
        QVERIFY(!FForm->isVisible());
    }

    void SecondRequestKeepsOneWindow() {
        int inner = -1;
        const int result = ShowModalAnd(*FForm, [&] {
            inner = FForm->ShowModal();
            QVERIFY(FForm->isVisible());
            QTest::keyClick(FForm, Qt::Key_Return);
        });
        QCOMPARE(inner, 0);
        QCOMPARE(result, 1);
        int shown = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            shown += qobject_cast<TForm2*>(window) != nullptr;
        }
        QCOMPARE(shown, 1);
    }

    // Only the main window is blocked while the window is open; another top-level window of
    // the program (the tray icon's) still takes clicks.
    void BlocksOnlyTheMainWindow() {
        auto* mainButton = new QPushButton("main", FMain.get());
        FMain->show();
        QPushButton tray("tray");
        tray.show();
        QVERIFY(QTest::qWaitForWindowExposed(FMain.get()));
        QVERIFY(QTest::qWaitForWindowExposed(&tray));
        int mainClicks = 0;
        int trayClicks = 0;
        connect(mainButton, &QPushButton::clicked, [&] { ++mainClicks; });
        connect(&tray, &QPushButton::clicked, [&] { ++trayClicks; });
        ShowModalAnd(*FForm, [&] {
            ClickThroughWindow(mainButton);
            ClickThroughWindow(&tray);
        });
        QCOMPARE(mainClicks, 0);
        QCOMPARE(trayClicks, 1);
    }

    void CentredFirstThenKeepsItsPlace() {
        const QPoint screenCentre = FForm->screen()->availableGeometry().center();
        QPoint first;
        ShowModalAnd(*FForm, [&] { first = FForm->frameGeometry().center(); });
        QVERIFY((first - screenCentre).manhattanLength() <= 2);

        ShowModalAnd(*FForm, [&] { FForm->move(30, 40); });
        QPoint again;
        ShowModalAnd(*FForm, [&] { again = FForm->pos(); });
        QCOMPARE(again, QPoint(30, 40));
    }

    void PanelFollowsTheClientArea() {
        FForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(FForm));
        auto* panel = FForm->findChild<QWidget*>("Panel1");
        auto* button = FForm->findChild<QPushButton*>("OKButton");
        QCOMPARE(FForm->size(), QSize(272, 190));
        for (const QSize size : {QSize(272, 190), QSize(400, 300), QSize(150, 100)}) {
            FForm->resize(size);
            QCoreApplication::sendPostedEvents();
            QCOMPARE(panel->geometry(), QRect(QPoint(0, 0), size));
            QCOMPARE(button->geometry(), QRect(207, 156, 50, 25));
        }
        QVERIFY(button->isDefault());
        QCOMPARE(FForm->findChild<QLabel*>("ProgramIcon")->pixmap().size(), QSize(66, 46));
        QCOMPARE(FForm->findChild<QLabel*>("Image1")->pixmap().size(), QSize(188, 18));
    }

    void OnlyTheButtonTakesFocus() {
        for (QWidget* child : FForm->findChildren<QWidget*>()) {
            const bool isButton = child->objectName() == QStringLiteral("OKButton");
            QCOMPARE(child->focusPolicy() != Qt::NoFocus, isButton);
        }
    }

private:
    std::unique_ptr<QWidget> FMain;
    TForm2* FForm = nullptr;
    QList<QUrl> FOpened;
};

ZR_REGISTER_QTEST(TAboutWindowTest);

#include "AboutWindowTest.moc"
