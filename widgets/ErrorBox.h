#pragma once

#include <memory>

#include <QString>

class QMessageBox;
class QWidget;

// The message as the standard error box shows it: a full stop is appended unless the last
// character is "." or one whose code is below it.
QString ErrorBoxMessage(const QString& message);

// The standard error box, not yet shown: the application title as caption, an error icon,
// the message (plain text) and one OK button.
std::unique_ptr<QMessageBox> MakeErrorBox(QWidget* parent, const QString& message);

// Shows the standard error box modally and returns when it is closed.
void ShowErrorBox(QWidget* parent, const QString& message);
