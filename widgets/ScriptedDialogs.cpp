#include "widgets/ScriptedDialogs.h"

#include "platform/Exceptions.h"
#include "widgets/ErrorBox.h"

void TScriptedDialogs::NextConfirm(TConfirmAnswer answer) {
    FConfirmAnswers.push_back(answer);
}

void TScriptedDialogs::NextDirectory(const QString& directory) {
    FDirectoryAnswers.push_back({TDirectoryKind::Chosen, directory});
}

void TScriptedDialogs::NextDirectoryCancel() {
    FDirectoryAnswers.push_back({TDirectoryKind::Cancel, {}});
}

void TScriptedDialogs::NextDirectoryFailure() {
    FDirectoryAnswers.push_back({TDirectoryKind::Failure, {}});
}

void TScriptedDialogs::NextSaveFileName(const QString& fileName) {
    FSaveFileNames.push_back(fileName);
}

TConfirmAnswer TScriptedDialogs::Confirm(QWidget*, const QString& text) {
    FConfirmTexts.append(text);
    if (FConfirmAnswers.empty()) {
        FUnexpected.append(QStringLiteral("Confirm: ") + text);
        return TConfirmAnswer::No;
    }
    const TConfirmAnswer answer = FConfirmAnswers.front();
    FConfirmAnswers.pop_front();
    return answer;
}

void TScriptedDialogs::Error(QWidget*, const QString& message) {
    FErrors.append(ErrorBoxMessage(message));
}

bool TScriptedDialogs::SelectDirectory(QWidget*, QString& directory) {
    if (FDirectoryAnswers.empty()) {
        FUnexpected.append(QStringLiteral("SelectDirectory"));
        return false;
    }
    const TDirectoryAnswer answer = FDirectoryAnswers.front();
    FDirectoryAnswers.pop_front();
    switch (answer.Kind) {
    case TDirectoryKind::Chosen:
        directory = answer.Directory;
        return true;
    case TDirectoryKind::Cancel:
        return false;
    case TDirectoryKind::Failure:
        throw Exception("Unable to create directory");
    }
    return false;
}

QString TScriptedDialogs::SaveFileName(QWidget*) {
    if (FSaveFileNames.empty()) {
        FUnexpected.append(QStringLiteral("SaveFileName"));
        return {};
    }
    QString fileName = FSaveFileNames.front();
    FSaveFileNames.pop_front();
    return fileName;
}

void TScriptedDialogs::OpenUrl(const QUrl& url) {
    FOpenedUrls.append(url);
}

bool TScriptedDialogs::HasPendingAnswers() const {
    return !FConfirmAnswers.empty() || !FDirectoryAnswers.empty() || !FSaveFileNames.empty();
}
