#include <memory>

#include <QMenu>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QTest>

#include "platform/CodePage.h"
#include "tests/common/QtTestMain.h"
#include "widgets/TaskbarIcon.h"

using TReasons = QList<QSystemTrayIcon::ActivationReason>;
Q_DECLARE_METATYPE(TReasons)

namespace {
const QString kTitle = QStringLiteral("『Zeroraz网页批量修改器』V2.0");

QIcon RedIcon() {
    QPixmap picture(32, 32);
    picture.fill(Qt::red);
    return QIcon(picture);
}
} // namespace

class TTaskbarIconTest : public QObject {
    Q_OBJECT

private slots:
    void LeftClicksRaiseOnClick_data() {
        QTest::addColumn<TReasons>("reasons");
        QTest::addColumn<int>("clicks");
        QTest::newRow("one click") << TReasons{QSystemTrayIcon::Trigger} << 1;
        // Qt reports the first press of a double click as Trigger, then DoubleClick.
        QTest::newRow("double click")
            << TReasons{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick} << 1;
        QTest::newRow("two clicks")
            << TReasons{QSystemTrayIcon::Trigger, QSystemTrayIcon::Trigger} << 2;
        QTest::newRow("right button") << TReasons{QSystemTrayIcon::Context} << 0;
        QTest::newRow("middle button") << TReasons{QSystemTrayIcon::MiddleClick} << 0;
    }
    void LeftClicksRaiseOnClick() {
        QFETCH(TReasons, reasons);
        QFETCH(int, clicks);
        TantTaskbarIcon icon;
        int raised = 0;
        icon.OnClick = [&] { ++raised; };
        for (const auto reason : reasons) {
            icon.Activate(reason);
        }
        QCOMPARE(raised, clicks);
    }

    void ClickWithoutHandlerOrWithFailingHandlerIsHarmless() {
        TantTaskbarIcon icon;
        icon.Activate(QSystemTrayIcon::Trigger);
        icon.OnClick = [] { throw 1; };
        icon.Activate(QSystemTrayIcon::Trigger);
    }

    void DesktopActivationReachesOnClick() {
        TantTaskbarIcon icon;
        int raised = 0;
        icon.OnClick = [&] { ++raised; };
        emit const_cast<QSystemTrayIcon&>(icon.TrayIcon()).activated(QSystemTrayIcon::Trigger);
        QCOMPARE(raised, 1);
    }

    void PropertiesReachTheTrayIcon() {
        auto icon = std::make_unique<TantTaskbarIcon>();
        QMenu menu;
        icon->SetVisible(true);
        // Without a picture there is nothing to show.
        QVERIFY(icon->Visible());
        QVERIFY(!icon->TrayIcon().isVisible());
        icon->SetIcon(RedIcon());
        icon->SetHint(kTitle);
        icon->SetPopupMenu(&menu);
        QVERIFY(icon->TrayIcon().isVisible());
        QCOMPARE(icon->Hint(), kTitle);
        QCOMPARE(icon->TrayIcon().toolTip(), kTitle);
        QCOMPARE(icon->TrayIcon().contextMenu(), &menu);
        QCOMPARE(icon->PopupMenu(), &menu);
        icon->SetVisible(false);
        QVERIFY(!icon->TrayIcon().isVisible());

        const QPointer<const QSystemTrayIcon> trayIcon = &icon->TrayIcon();
        icon.reset();
        QVERIFY(trayIcon.isNull());
    }

    void HintKeepsAtMost63BytesOfWholeCharacters_data() {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("kept");
        const QString han21(21, QChar(0x7F51));
        const QString han31(31, QChar(0x7F51));
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("UTF-8 title") << "UTF-8" << kTitle << kTitle;
        QTest::newRow("UTF-8 63 bytes") << "UTF-8" << han21 << han21;
        QTest::newRow("UTF-8 66 bytes") << "UTF-8" << han21 + QChar(0x7F51) << han21;
        QTest::newRow("UTF-8 cut inside") << "UTF-8"
                                          << "a" + han21 << "a" + han21.left(20);
        QTest::newRow("UTF-8 four bytes")
            << "UTF-8" << QString(60, u'a') + emoji << QString(60, u'a');
        QTest::newRow("GB2312 title") << "GB2312" << kTitle << kTitle;
        QTest::newRow("GB2312 62 bytes") << "GB2312" << han31 << han31;
        QTest::newRow("GB2312 63 bytes") << "GB2312"
                                         << "a" + han31 << "a" + han31;
        QTest::newRow("GB2312 cut inside") << "GB2312"
                                           << "ab" + han31 << "ab" + han31.left(30);
        // A character GB2312 lacks is sent as "?": one byte; its two halves stay together.
        QTest::newRow("GB2312 foreign")
            << "GB2312" << QString(62, u'a') + emoji + "b" << QString(62, u'a') + emoji;
        QTest::newRow("GB2312 foreign at the end")
            << "GB2312" << QString(63, u'a') + emoji << QString(63, u'a');
        QTest::newRow("empty") << "GB2312"
                               << ""
                               << "";
    }
    void HintKeepsAtMost63BytesOfWholeCharacters() {
        QFETCH(QString, codePage);
        QFETCH(QString, hint);
        QFETCH(QString, kept);
        const auto page = TCodePage::Named(codePage.toStdString());
        QCOMPARE(TrayHintText(hint, *page), kept);
    }

    // The tests run in a UTF-8 locale.
    void HintIsCutInTheLocalesCodePage() {
        TantTaskbarIcon icon;
        icon.SetHint(QString(40, u'x') + QString(10, QChar(0x7F51)));
        QCOMPARE(icon.Hint(), QString(40, u'x') + QString(7, QChar(0x7F51)));
        QCOMPARE(icon.TrayIcon().toolTip(), icon.Hint());
    }
};

ZR_REGISTER_QTEST(TTaskbarIconTest);
#include "TaskbarIconTest.moc"
