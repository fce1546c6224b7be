#include "widgets/ErrorBox.h"

#include <QMessageBox>
#include <QPushButton>

#include "widgets/Application.h"

QString ErrorBoxMessage(const QString& message) {
    QString text = message;
    if (!text.isEmpty() && text.back().unicode() > u'.') {
        text.append(u'.');
    }
    return text;
}

std::unique_ptr<QMessageBox> MakeErrorBox(QWidget* parent, const QString& message) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, ApplicationTitle(),
                                             ErrorBoxMessage(message), QMessageBox::Ok, parent);
    // A file name holding "<" must not turn the message into markup.
    box->setTextFormat(Qt::PlainText);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    return box;
}

void ShowErrorBox(QWidget* parent, const QString& message) {
    const std::unique_ptr<QMessageBox> box = MakeErrorBox(parent, message);
    box->exec();
}
