#pragma once

#include <QDialog>
#include <QString>

#include "widgets/Dialogs.h"

class QKeyEvent;
class QLabel;
class QPushButton;

// The confirmation box: caption "确认", a question mark, the text, and the buttons "是[&Y]"
// (default, Enter) and "否[&N]" (Escape), centred on the screen. Its close box and Alt+F4
// answer Closed, which a message box cannot tell apart from Escape.
class TConfirmBox : public QDialog {
    Q_OBJECT

public:
    explicit TConfirmBox(const QString& text, QWidget* parent = nullptr);

    // Shows the box modally, centred on the screen, and answers how it was closed.
    TConfirmAnswer Execute();
    // The answer of the last showing; Closed while it is open.
    TConfirmAnswer Answer() const { return FAnswer; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Choose(TConfirmAnswer answer);

    QLabel* FImage;
    QLabel* FMessage;
    QPushButton* FYes;
    QPushButton* FNo;
    TConfirmAnswer FAnswer = TConfirmAnswer::Closed;
};
