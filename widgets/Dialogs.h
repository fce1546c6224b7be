#pragma once

#include <QString>

class QUrl;
class QWidget;

// How a confirmation box was answered; Closed: shut without a button (close box, Alt+F4).
enum class TConfirmAnswer { Yes, No, Closed };

// The one road by which the windows open their dialogs, so that tests can answer them
// ahead of time (TScriptedDialogs). These are the real, modal dialogs.
class TDialogs {
public:
    TDialogs() = default;
    TDialogs(const TDialogs&) = delete;
    TDialogs& operator=(const TDialogs&) = delete;
    virtual ~TDialogs();

    // The confirmation box: "确认", a question mark, "是[&Y]" and "否[&N]".
    virtual TConfirmAnswer Confirm(QWidget* parent, const QString& text);
    // The standard error box; message is shown with the error-box full-stop rule.
    virtual void Error(QWidget* parent, const QString& message);
    // The directory chooser, opened on directory (the current directory when empty). On
    // confirmation, directory becomes the chosen one, created if it was missing, and the
    // answer is true; false when cancelled. Throws Exception("Unable to create directory").
    virtual bool SelectDirectory(QWidget* parent, QString& directory);
    // The save dialog of the result list; an empty text when cancelled.
    virtual QString SaveFileName(QWidget* parent);
    // Hands url to the desktop (browser, mail program); whether anything opened is ignored.
    virtual void OpenUrl(const QUrl& url);
};
