#include "widgets/ScreenCentre.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget& window) {
    window.adjustSize();
    QScreen* screen = window.parentWidget() != nullptr ? window.parentWidget()->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}
