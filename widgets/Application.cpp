#include "widgets/Application.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QToolTip>
#include <QWidget>

namespace {
QString& TitleText() {
    static QString title;
    return title;
}
} // namespace

QString ApplicationTitle() {
    return TitleText();
}

TApplicationObject::TApplicationObject(QObject* parent) : QObject(parent) {}

TApplicationObject::~TApplicationObject() {
    if (FMainWindow != nullptr) {
        FMainWindow->removeEventFilter(this);
    }
}

void TApplicationObject::SetTitle(const QString& title) {
    TitleText() = title;
}

void TApplicationObject::SetHintColor(const QColor& color) {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::ToolTipBase, color);
    QApplication::setPalette(palette);
    // Tooltips take their own palette, which the application palette does not reach.
    QPalette tipPalette = QToolTip::palette();
    tipPalette.setColor(QPalette::ToolTipBase, color);
    QToolTip::setPalette(tipPalette);
}

QColor TApplicationObject::HintColor() const {
    return QToolTip::palette().color(QPalette::ToolTipBase);
}

void TApplicationObject::SetMainWindow(QWidget* window) {
    if (FMainWindow != nullptr) {
        FMainWindow->removeEventFilter(this);
    }
    FMainWindow = window;
    FMinimized = false;
    FFormerState = Qt::WindowNoState;
    if (window != nullptr) {
        window->installEventFilter(this);
        MainWindowStateChange();
    }
}

void TApplicationObject::Minimize() {
    if (FMainWindow != nullptr && !FMinimized) {
        // The state change reaches the event filter, hidden window or not.
        FMainWindow->setWindowState(FMainWindow->windowState() | Qt::WindowMinimized);
    }
}

void TApplicationObject::Restore() {
    if (!FMinimized || FMainWindow == nullptr) {
        return;
    }
    FMinimized = false;
    FMainWindow->setWindowState(FFormerState);
    if (FMainWindow->isVisible()) {
        FMainWindow->raise();
        FMainWindow->activateWindow();
    }
}

void TApplicationObject::ShowApplicationWindow(bool show) {
    FApplicationWindowShown = show;
}

bool TApplicationObject::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FMainWindow && event->type() == QEvent::WindowStateChange) {
        MainWindowStateChange();
    }
    return QObject::eventFilter(watched, event);
}

void TApplicationObject::MainWindowStateChange() {
    const Qt::WindowStates state = FMainWindow->windowState();
    if (!state.testFlag(Qt::WindowMinimized)) {
        FMinimized = false;
        FFormerState = state;
        return;
    }
    if (FMinimized) {
        return;
    }
    FMinimized = true;
    if (!FMinimizePending) {
        // The handler hides the window: not from inside its own state change.
        FMinimizePending = true;
        QMetaObject::invokeMethod(this, &TApplicationObject::RaiseMinimize, Qt::QueuedConnection);
    }
}

void TApplicationObject::RaiseMinimize() {
    FMinimizePending = false;
    if (!FMinimized || !OnMinimize) {
        return;
    }
    try {
        OnMinimize();
    } catch (...) {
        // A handler bound through Guarded never gets here; nothing may reach Qt's loop.
    }
}
