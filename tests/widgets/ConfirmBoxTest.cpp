#include <QGuiApplication>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "tests/common/QtTestMain.h"
#include "tests/widgets/ModalDriver.h"
#include "widgets/ConfirmBox.h"
#include "widgets/Dialogs.h"

Q_DECLARE_METATYPE(TConfirmAnswer)

namespace {
const QString kQuestion = QStringLiteral("确认退出Zeroraz网页批量修改器吗?");

QPushButton* Button(const TConfirmBox& box, const char* name) {
    return box.findChild<QPushButton*>(QString::fromLatin1(name));
}
} // namespace

class TConfirmBoxTest : public QObject {
    Q_OBJECT

private slots:
    void LooksLikeTheConfirmationBox() {
        TConfirmBox box(kQuestion);
        box.show();
        QCOMPARE(box.windowTitle(), QStringLiteral("确认"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Message"))->text(), kQuestion);
        QVERIFY(!box.findChild<QLabel*>(QStringLiteral("Image"))->pixmap().isNull());
        QCOMPARE(Button(box, "Yes")->text(), QStringLiteral("是[&Y]"));
        QCOMPARE(Button(box, "No")->text(), QStringLiteral("否[&N]"));
        QVERIFY(Button(box, "Yes")->isDefault());
        QCOMPARE(box.findChildren<QPushButton*>().size(), 2);
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2((box.frameGeometry().center() - screenCentre).manhattanLength() <= 2,
                 "the box is not centred on the screen");
    }

    void AnswersByKeyButtonAndCloseBox_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<TConfirmAnswer>("answer");
        QTest::newRow("Return") << "Return" << TConfirmAnswer::Yes;
        QTest::newRow("Enter") << "Enter" << TConfirmAnswer::Yes;
        QTest::newRow("Escape") << "Escape" << TConfirmAnswer::No;
        QTest::newRow("Tab to No, Return") << "Tab Return" << TConfirmAnswer::No;
        QTest::newRow("click Yes") << "Yes" << TConfirmAnswer::Yes;
        QTest::newRow("click No") << "No" << TConfirmAnswer::No;
        QTest::newRow("close box") << "close" << TConfirmAnswer::Closed;
    }
    void AnswersByKeyButtonAndCloseBox() {
        QFETCH(QString, action);
        QFETCH(TConfirmAnswer, answer);
        TConfirmBox box(kQuestion);
        box.show();
        QApplication::setActiveWindow(&box);
        for (const QString& step : action.split(u' ')) {
            QWidget* focus = box.focusWidget() != nullptr ? box.focusWidget() : &box;
            if (step == "Return") {
                QTest::keyClick(focus, Qt::Key_Return);
            } else if (step == "Enter") {
                QTest::keyClick(focus, Qt::Key_Enter);
            } else if (step == "Escape") {
                QTest::keyClick(focus, Qt::Key_Escape);
            } else if (step == "Tab") {
                QTest::keyClick(focus, Qt::Key_Tab);
            } else if (step == "close") {
                box.close();
            } else {
                QTest::mouseClick(Button(box, step.toLatin1().constData()), Qt::LeftButton);
            }
        }
        QVERIFY(!box.isVisible());
        QCOMPARE(box.Answer(), answer);
    }

    void EveryShowingStartsUnanswered() {
        TConfirmBox box(kQuestion);
        box.show();
        Button(box, "No")->click();
        QCOMPARE(box.Answer(), TConfirmAnswer::No);
        box.show();
        box.close();
        QCOMPARE(box.Answer(), TConfirmAnswer::Closed);
    }

    void ConfirmOfTheRealDialogsIsModal() {
        QString shownText;
        WhenModal<TConfirmBox>([&](TConfirmBox& box) {
            shownText = box.findChild<QLabel*>(QStringLiteral("Message"))->text();
            QTest::keyClick(&box, Qt::Key_Escape);
        });
        TDialogs dialogs;
        QCOMPARE(dialogs.Confirm(nullptr, kQuestion), TConfirmAnswer::No);
        QCOMPARE(shownText, kQuestion);

        WhenModal<TConfirmBox>([](TConfirmBox& box) { box.close(); });
        QCOMPARE(dialogs.Confirm(nullptr, kQuestion), TConfirmAnswer::Closed);
    }
};

ZR_REGISTER_QTEST(TConfirmBoxTest);
#include "ConfirmBoxTest.moc"
