#include <stdexcept>

#include <QEnterEvent>
#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <QWidget>

#include "tests/common/QtTestMain.h"
#include "widgets/HyperLink.h"

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kFuchsia(255, 0, 255);

void SendEnter(QWidget* widget) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(widget, &enter);
}

void SendLeave(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

bool HasPixel(const QImage& image, const QColor& color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

// One link on a shown window, with an opener that only records what it was asked to open.
class THyperLinkTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FWindow = std::make_unique<QWidget>();
        FWindow->resize(300, 100);
        FLink = new TcwHyperLink(FWindow.get());
        FLink->setGeometry(16, 20, 131, 15);
        FLink->SetCaption(QStringLiteral("www.zeroraz.example/soft"));
        FLink->SetURL(QStringLiteral("http://soft.zeroraz.example/"));
        FLink->SetColor(QColor(240, 240, 240));
        FOpened.clear();
        FLink->SetOpener([this](const QUrl& url) { FOpened.append(url); });
        FWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    }

    void cleanup() { FWindow.reset(); }

    void PressOpensOnceAndTurnsFuchsia() {
        QCOMPARE(FLink->TextColor(), kBlue);
        SendEnter(FLink);
        QCOMPARE(FLink->TextColor(), kRed);

        QTest::mousePress(FLink, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(FOpened, QList<QUrl>{QUrl(QStringLiteral("http://soft.zeroraz.example/"))});
        QCOMPARE(FLink->TextColor(), kRed);
        QTest::mouseRelease(FLink, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(FOpened.size(), 1);

        SendLeave(FLink);
        QCOMPARE(FLink->TextColor(), kFuchsia);
        SendEnter(FLink);
        QCOMPARE(FLink->TextColor(), kRed);
        SendLeave(FLink);
        QCOMPARE(FLink->TextColor(), kFuchsia);

        QTest::mouseClick(FLink, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(FOpened.size(), 2);
    }

    void OtherButtonsDoNothing_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }

    void OtherButtonsDoNothing() {
        QFETCH(Qt::MouseButton, button);
        QTest::mouseClick(FLink, button, {}, QPoint(5, 5));
        SendLeave(FLink);
        QVERIFY(FOpened.isEmpty());
        QCOMPARE(FLink->NormalColor(), kBlue);
        QCOMPARE(FLink->TextColor(), kBlue);
    }

    void FailingOpenerStillTurnsFuchsia() {
        FLink->SetOpener([](const QUrl&) { throw std::runtime_error("no browser"); });
        QTest::mousePress(FLink, Qt::LeftButton, {}, QPoint(5, 5));
        SendLeave(FLink);
        QCOMPARE(FLink->TextColor(), kFuchsia);
    }

    void FirstPaintSizesToCaption() {
        QWidget window;
        auto* link = new TcwHyperLink(&window);
        link->setGeometry(16, 108, 131, 15);
        const QString caption = QStringLiteral("http://a.much.longer.address.zeroraz.example/page");
        link->SetCaption(caption);
        QCOMPARE(link->size(), QSize(131, 15));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QFontMetrics metrics(link->font());
        QVERIFY(metrics.horizontalAdvance(caption) + 6 > 131);
        QCOMPARE(link->size(), QSize(metrics.horizontalAdvance(caption) + 6, metrics.height() + 2));

        // A shorter caption shrinks it again at the next paint.
        link->SetCaption(QStringLiteral("ab"));
        link->repaint();
        QCOMPARE(link->width(), metrics.horizontalAdvance(QStringLiteral("ab")) + 6);
    }

    void PaintsBackgroundAndCaptionColours() {
        FLink->repaint();
        QImage image = FLink->grab().toImage();
        QCOMPARE(image.pixelColor(0, 0), QColor(240, 240, 240));
        QVERIFY(HasPixel(image, kBlue));

        QTest::mousePress(FLink, Qt::LeftButton, {}, QPoint(5, 5));
        SendLeave(FLink);
        image = FLink->grab().toImage();
        QVERIFY(HasPixel(image, kFuchsia));
        QVERIFY(!HasPixel(image, kBlue));
    }

private:
    std::unique_ptr<QWidget> FWindow;
    TcwHyperLink* FLink = nullptr;
    QList<QUrl> FOpened;
};

ZR_REGISTER_QTEST(THyperLinkTest);

#include "HyperLinkTest.moc"
