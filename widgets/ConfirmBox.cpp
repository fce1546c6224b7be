#include "widgets/ConfirmBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "widgets/ScreenCentre.h"

TConfirmBox::TConfirmBox(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FImage(new QLabel(this)), FMessage(new QLabel(text, this)),
      FYes(new QPushButton(QStringLiteral("是[&Y]"), this)),
      FNo(new QPushButton(QStringLiteral("否[&N]"), this)) {
    setWindowTitle(QStringLiteral("确认"));
    FImage->setObjectName(QStringLiteral("Image"));
    FMessage->setObjectName(QStringLiteral("Message"));
    FYes->setObjectName(QStringLiteral("Yes"));
    FNo->setObjectName(QStringLiteral("No"));

    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    FImage->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize));
    FImage->setAlignment(Qt::AlignTop);
    FMessage->setTextFormat(Qt::PlainText);
    FMessage->setTextInteractionFlags(Qt::NoTextInteraction);

    FYes->setDefault(true);
    connect(FYes, &QPushButton::clicked, this, [this] { Choose(TConfirmAnswer::Yes); });
    connect(FNo, &QPushButton::clicked, this, [this] { Choose(TConfirmAnswer::No); });

    auto* textRow = new QHBoxLayout;
    textRow->setSpacing(12);
    textRow->addWidget(FImage);
    textRow->addWidget(FMessage, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(FYes);
    buttonRow->addWidget(FNo);
    buttonRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setSpacing(16);
    layout->addLayout(textRow);
    layout->addLayout(buttonRow);
}

TConfirmAnswer TConfirmBox::Execute() {
    FAnswer = TConfirmAnswer::Closed;
    exec();
    return FAnswer;
}

void TConfirmBox::keyPressEvent(QKeyEvent* event) {
    // QDialog turns Escape into reject(), which here means the close box; Escape is "否".
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        FNo->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TConfirmBox::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FAnswer = TConfirmAnswer::Closed;
        CentreOnScreen(*this);
        FYes->setFocus();
    }
    QDialog::showEvent(event);
}

void TConfirmBox::Choose(TConfirmAnswer answer) {
    FAnswer = answer;
    done(answer == TConfirmAnswer::Yes ? Accepted : Rejected);
}
