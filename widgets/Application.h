#pragma once

#include <functional>

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

class QEvent;
class QWidget;

// The application's title as SetTitle set it: the standard error box's caption. It is kept
// here and not as Qt's application display name, because Qt appends that name to the
// caption of every window ("关于本软件 — 『…』"), which no window here is meant to show.
QString ApplicationTitle();

// The few duties of the application object that the main window relies on: the title, the
// tooltip colour, minimising and restoring the whole program, and its taskbar button.
//
// On Linux the taskbar button belongs to the main window itself, so the application counts
// as minimised exactly when the user (or Minimize()) has minimised the main window.
class TApplicationObject : public QObject {
    Q_OBJECT

public:
    explicit TApplicationObject(QObject* parent = nullptr);
    ~TApplicationObject() override;

    void SetTitle(const QString& title);
    QString Title() const { return ApplicationTitle(); }
    // The background colour of every tooltip the program shows.
    void SetHintColor(const QColor& color);
    QColor HintColor() const;

    // The window whose minimising minimises the application; not owned.
    void SetMainWindow(QWidget* window);
    QWidget* MainWindow() const { return FMainWindow; }

    // Raised once the application has minimised, from the event loop after the main
    // window's state change. Bind it through Guarded: whatever escapes it is dropped here.
    std::function<void()> OnMinimize;

    // Minimises the application as the title bar's button does.
    void Minimize();
    // Brings a minimised application back: the main window returns to its former state
    // (normal or maximised); a hidden main window keeps that state for its next show().
    // Does nothing when the application is not minimised.
    void Restore();
    bool IsMinimized() const { return FMinimized; }

    // Stands for showing and hiding the application's own taskbar window. Linux has no such
    // window: the taskbar button comes and goes with the main window, so this only records
    // the wish, and hiding or showing the main window does the rest.
    void ShowApplicationWindow(bool show);
    bool ApplicationWindowShown() const { return FApplicationWindowShown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MainWindowStateChange();
    void RaiseMinimize();

    QPointer<QWidget> FMainWindow;
    bool FMinimized = false;
    bool FMinimizePending = false;
    Qt::WindowStates FFormerState = Qt::WindowNoState;
    bool FApplicationWindowShown = true;
};
