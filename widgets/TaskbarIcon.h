#pragma once

#include <functional>

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

class TCodePage;

// The notification-area icon of the main window. It exists as an object whether or not the
// desktop has a notification area (Available()); where there is one, the icon shows while
// Visible is true and an icon is set, and goes away with the component.
//
// Modal windows: Qt blocks the icon's mouse input while an application-modal window is
// open. A window that must leave the tray menu usable (the about window) is to be shown
// window-modal to the main window: parent = the main window, setWindowModality(
// Qt::WindowModal) before exec().
class TantTaskbarIcon : public QObject {
    Q_OBJECT

public:
    explicit TantTaskbarIcon(QObject* parent = nullptr);
    ~TantTaskbarIcon() override;

    QIcon Icon() const { return FIcon; }
    void SetIcon(const QIcon& icon);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    // The tooltip; kept to at most 63 bytes in the locale's code page, whole characters only.
    QString Hint() const { return FHint; }
    void SetHint(const QString& hint);
    // Shown at the mouse position when the icon is clicked with the right button; not owned.
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu);

    // Raised once for a left click on the icon; a double click raises it for its first click
    // only. It runs inside a Qt signal, so bind it through Guarded: whatever escapes it is
    // dropped here.
    std::function<void()> OnClick;

    // Whether the desktop has a notification area to show the icon in.
    static bool Available();
    // The icon as Qt holds it (tooltip, picture, menu, visibility).
    const QSystemTrayIcon& TrayIcon() const { return *FTrayIcon; }

public slots:
    // What the desktop reports of the icon; tests call it to stand for the mouse.
    void Activate(QSystemTrayIcon::ActivationReason reason);

private:
    void UpdateVisibility();

    QSystemTrayIcon* FTrayIcon;
    QIcon FIcon;
    bool FVisible = false;
    QString FHint;
    QPointer<QMenu> FPopupMenu;
};

// The longest start of hint that takes at most maxBytes in codePage without cutting a
// character (a character the code page cannot hold counts as its "?").
QString TrayHintText(const QString& hint, const TCodePage& codePage, int maxBytes = 63);
