#pragma once

#include <deque>

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "widgets/Dialogs.h"

// The test double of TDialogs: answers are queued before the window asks, and everything
// shown is recorded. A dialog asked for with no answer queued shows nothing and never
// blocks: it is recorded in Unexpected() and answered as a cancel (Confirm: No).
class TScriptedDialogs : public TDialogs {
public:
    void NextConfirm(TConfirmAnswer answer);
    void NextDirectory(const QString& directory);
    void NextDirectoryCancel();
    // The chooser's own failure: SelectDirectory throws Exception("Unable to create directory").
    void NextDirectoryFailure();
    // An empty name stands for a cancelled save dialog.
    void NextSaveFileName(const QString& fileName);

    TConfirmAnswer Confirm(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& message) override;
    bool SelectDirectory(QWidget* parent, QString& directory) override;
    QString SaveFileName(QWidget* parent) override;
    void OpenUrl(const QUrl& url) override;

    // The texts of the confirmation boxes asked for, in order.
    const QStringList& ConfirmTexts() const { return FConfirmTexts; }
    // The error messages as the error box shows them (full stop rule applied), in order.
    const QStringList& Errors() const { return FErrors; }
    const QList<QUrl>& OpenedUrls() const { return FOpenedUrls; }
    // Dialogs asked for with an empty queue: "Confirm: <text>", "SelectDirectory",
    // "SaveFileName".
    const QStringList& Unexpected() const { return FUnexpected; }
    // Whether queued answers are still waiting to be used.
    bool HasPendingAnswers() const;

private:
    enum class TDirectoryKind { Chosen, Cancel, Failure };
    struct TDirectoryAnswer {
        TDirectoryKind Kind;
        QString Directory;
    };

    std::deque<TConfirmAnswer> FConfirmAnswers;
    std::deque<TDirectoryAnswer> FDirectoryAnswers;
    std::deque<QString> FSaveFileNames;
    QStringList FConfirmTexts;
    QStringList FErrors;
    QList<QUrl> FOpenedUrls;
    QStringList FUnexpected;
};
