#include <QAbstractButton>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QTest>

#include "tests/common/QtTestMain.h"
#include "tests/widgets/ModalDriver.h"
#include "widgets/Application.h"
#include "widgets/Dialogs.h"
#include "widgets/ErrorBox.h"

class TErrorBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        TApplicationObject application;
        application.SetTitle(QStringLiteral("『Zeroraz网页批量修改器』V2.0"));
    }

    void FullStopRule_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Cannot open file /a/b"
                                << "Cannot open file /a/b.";
        QTest::newRow("slash is above the stop") << "Cannot open file /a/"
                                                 << "Cannot open file /a/.";
        QTest::newRow("Chinese") << "无法打开"
                                 << "无法打开.";
        QTest::newRow("full stop") << "Stream write error."
                                   << "Stream write error.";
        QTest::newRow("comma is below") << "a,"
                                        << "a,";
        QTest::newRow("hyphen is below") << "a-"
                                         << "a-";
        QTest::newRow("blank is below") << "a "
                                        << "a ";
        QTest::newRow("empty") << ""
                               << "";
    }
    void FullStopRule() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorBoxMessage(message), shown);
    }

    void BoxHasTitleErrorIconAndOneOkButton() {
        const auto box = MakeErrorBox(nullptr, QStringLiteral("Cannot open file <b>x</b>"));
        QCOMPARE(box->windowTitle(), QStringLiteral("『Zeroraz网页批量修改器』V2.0"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->text(), QStringLiteral("Cannot open file <b>x</b>."));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->buttons().constFirst()->text(), QStringLiteral("确定"));
    }

    void RealErrorDialogShowsTheRuleAndCloses() {
        QString caption;
        QString text;
        WhenModal<QMessageBox>([&](QMessageBox& box) {
            caption = box.windowTitle();
            text = box.text();
            box.button(QMessageBox::Ok)->click();
        });
        TDialogs dialogs;
        dialogs.Error(nullptr, QStringLiteral("Unable to write to /x/zeroraz.ini"));
        QCOMPARE(caption, QStringLiteral("『Zeroraz网页批量修改器』V2.0"));
        QCOMPARE(text, QStringLiteral("Unable to write to /x/zeroraz.ini."));
    }
};

ZR_REGISTER_QTEST(TErrorBoxTest);
#include "ErrorBoxTest.moc"
