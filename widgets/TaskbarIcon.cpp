#include "widgets/TaskbarIcon.h"

#include <string>

#include "platform/CodePage.h"

TantTaskbarIcon::TantTaskbarIcon(QObject* parent)
    : QObject(parent), FTrayIcon(new QSystemTrayIcon(this)) {
    connect(FTrayIcon, &QSystemTrayIcon::activated, this, &TantTaskbarIcon::Activate);
}

TantTaskbarIcon::~TantTaskbarIcon() {
    FTrayIcon->hide();
}

void TantTaskbarIcon::SetIcon(const QIcon& icon) {
    FIcon = icon;
    FTrayIcon->setIcon(icon);
    UpdateVisibility();
}

void TantTaskbarIcon::SetVisible(bool visible) {
    FVisible = visible;
    UpdateVisibility();
}

void TantTaskbarIcon::SetHint(const QString& hint) {
    FHint = TrayHintText(hint, TCodePage::FromLocale());
    FTrayIcon->setToolTip(FHint);
}

void TantTaskbarIcon::SetPopupMenu(QMenu* menu) {
    FPopupMenu = menu;
    FTrayIcon->setContextMenu(menu);
}

bool TantTaskbarIcon::Available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TantTaskbarIcon::Activate(QSystemTrayIcon::ActivationReason reason) {
    // Qt reports a double click as Trigger for its first press, then DoubleClick: only the
    // Trigger counts. The right button's menu is shown by QSystemTrayIcon itself.
    if (reason != QSystemTrayIcon::Trigger || !OnClick) {
        return;
    }
    try {
        OnClick();
    } catch (...) {
        // A handler bound through Guarded never gets here; nothing may reach Qt's loop.
    }
}

void TantTaskbarIcon::UpdateVisibility() {
    // Qt refuses to show an icon without a picture.
    FTrayIcon->setVisible(FVisible && !FIcon.isNull());
}

QString TrayHintText(const QString& hint, const TCodePage& codePage, int maxBytes) {
    std::size_t bytes = 0;
    qsizetype end = 0;
    while (end < hint.size()) {
        const qsizetype length = hint.at(end).isHighSurrogate() && end + 1 < hint.size() ? 2 : 1;
        bytes += codePage.FromUtf8(hint.mid(end, length).toStdString()).size();
        if (bytes > static_cast<std::size_t>(maxBytes)) {
            break;
        }
        end += length;
    }
    return hint.left(end);
}
