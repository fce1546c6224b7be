#include "tests/common/QtTestMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (const auto& make : QtTestClasses()) {
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed == 0 ? 0 : 1;
}
