#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QApplication>
#include <QObject>
#include <QTest>

// Several Qt Test classes in one executable: each file registers its class, and one main
// runs them all in turn.
inline std::vector<std::function<std::unique_ptr<QObject>()>>& QtTestClasses() {
    static std::vector<std::function<std::unique_ptr<QObject>()>> classes;
    return classes;
}

#define ZR_REGISTER_QTEST(Class)                                                                   \
    static const bool kRegistered##Class = [] {                                                    \
        QtTestClasses().push_back([] { return std::make_unique<Class>(); });                       \
        return true;                                                                               \
    }()
