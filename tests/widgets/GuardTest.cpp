#include <functional>
#include <new>
#include <stdexcept>

#include <QObject>
#include <QTest>

#include "platform/Exceptions.h"
#include "tests/common/QtTestMain.h"
#include "widgets/Guard.h"
#include "widgets/ScriptedDialogs.h"

Q_DECLARE_METATYPE(std::function<void()>)

namespace {
// A dialog seam whose error box itself fails, as it might with memory exhausted.
class TFailingDialogs : public TScriptedDialogs {
public:
    void Error(QWidget*, const QString&) override { throw std::bad_alloc(); }
};
} // namespace

class TGuardTest : public QObject {
    Q_OBJECT

private slots:
    void ShowsEveryFailure_data() {
        QTest::addColumn<std::function<void()>>("body");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<bool>("ranToEnd");
        QTest::newRow("no failure") << std::function<void()>([] {}) << QStringList{} << true;
        QTest::newRow("abort is silent")
            << std::function<void()>([] { throw EAbort(); }) << QStringList{} << false;
        QTest::newRow("exception")
            << std::function<void()>([] { throw EFOpenError("/tmp/网页/a.html"); })
            << QStringList{"Cannot open file /tmp/网页/a.html."} << false;
        QTest::newRow("bytes the code page cannot read")
            << std::function<void()>([] { throw EFOpenError("/tmp/\xff"); })
            << QStringList{"Cannot open file /tmp/?."} << false;
        QTest::newRow("out of memory") << std::function<void()>([] { throw std::bad_alloc(); })
                                       << QStringList{"Out of memory."} << false;
        QTest::newRow("standard exception")
            << std::function<void()>([] { throw std::runtime_error("disk gone"); })
            << QStringList{"disk gone."} << false;
        QTest::newRow("anything else") << std::function<void()>([] { throw 42; })
                                       << QStringList{"Unexpected failure."} << false;
    }
    void ShowsEveryFailure() {
        QFETCH(std::function<void()>, body);
        QFETCH(QStringList, errors);
        QFETCH(bool, ranToEnd);
        TScriptedDialogs dialogs;
        QCOMPARE(Guarded(dialogs, nullptr, body), ranToEnd);
        QCOMPARE(dialogs.Errors(), errors);
    }

    void LetsNothingEscapeEvenWhenTheBoxFails() {
        TFailingDialogs dialogs;
        bool escaped = false;
        try {
            QVERIFY(!Guarded(dialogs, nullptr, [] { throw Exception("first"); }));
        } catch (...) {
            escaped = true;
        }
        QVERIFY(!escaped);
    }
};

ZR_REGISTER_QTEST(TGuardTest);
#include "GuardTest.moc"
