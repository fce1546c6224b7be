#include "about/Unit4.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "about/MakerDetails.h"
#include "ui_Unit4.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QDialog(parent), FUi(std::make_unique<Ui::TForm2>()) {
    FUi->setupUi(this);
    // A sizeable frame whose title bar carries only the close box, above other windows.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    // The button lies over the panel, which the design creates after it.
    FUi->OKButton->raise();
    FUi->ProductName->adjustSize();

    const QColor face = palette().color(QPalette::Window);
    const struct {
        TcwHyperLink* Link;
        const char* Caption;
        const char* Url;
    } links[] = {
        {FUi->cwHyperLink1, kMakerHomePage, kMakerHomePage},
        {FUi->cwHyperLink3, kMakerWebCaption, kMakerWebLink},
        {FUi->cwHyperLink2, kMakerContactCaption, kMakerMailLink},
    };
    for (const auto& link : links) {
        link.Link->SetCaption(QString::fromUtf8(link.Caption));
        link.Link->SetURL(QString::fromUtf8(link.Url));
        link.Link->SetColor(face);
    }

    // Only Qt's own closing code runs behind the button, and it throws nothing.
    connect(FUi->OKButton, &QPushButton::clicked, this, &TForm2::OKButtonClick);
}

TForm2::~TForm2() = default;

int TForm2::ShowModal() {
    if (isVisible()) {
        raise();
        activateWindow();
        return 0;
    }
    return exec() == QDialog::Accepted ? 1 : 0;
}

void TForm2::SetLinkOpener(const TcwHyperLink::TOpener& opener) {
    for (TcwHyperLink* link : {FUi->cwHyperLink1, FUi->cwHyperLink2, FUi->cwHyperLink3}) {
        link->SetOpener(opener);
    }
}

void TForm2::OKButtonClick() {
    accept();
}

void TForm2::showEvent(QShowEvent* event) {
    // Centred on the screen the first time; afterwards the window keeps the place it was left
    // at, since a placed dialog is no longer centred over its parent by Qt.
    if (!FShownBefore && !event->spontaneous()) {
        FShownBefore = true;
        CenterOnScreen();
    }
    QDialog::showEvent(event);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    // There is no cancel button, so Escape does nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::CenterOnScreen() {
    if (const QScreen* area = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(area->availableGeometry().center());
        move(frame.topLeft());
    }
}
