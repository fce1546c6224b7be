#pragma once

#include <QApplication>
#include <QMetaObject>
#include <QPointer>
#include <QTest>
#include <QWidget>

// Runs action on the modal window of class T that the next exec() opens, from inside that
// window's event loop. Whatever action leaves open is closed afterwards, so a failing test
// never hangs in a modal loop.
template <class T, class F> void WhenModal(F action) {
    QMetaObject::invokeMethod(
        qApp,
        [action] {
            QPointer<QWidget> modal = QApplication::activeModalWidget();
            if (auto* window = qobject_cast<T*>(modal.data())) {
                action(*window);
            } else {
                QTest::qFail("the expected modal window is not open", __FILE__, __LINE__);
            }
            if (modal != nullptr && modal->isVisible()) {
                modal->close();
            }
        },
        Qt::QueuedConnection);
}
