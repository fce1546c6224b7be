#pragma once

#include <memory>

#include <QDialog>

#include "widgets/HyperLink.h"

namespace Ui {
class TForm2;
}

class QKeyEvent;
class QShowEvent;

// The about window: the product's name, the maker's pictures and three links, closed with its
// OK button. It is created once, hidden, and shown as often as asked; between showings it
// keeps its place and the state of its links.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Shows the window modally to its parent and returns when it closes: 1 (OK) when closed
    // with the OK button or Enter, 0 when closed otherwise. A request while the window is
    // already open only brings it to the front and returns 0 at once.
    int ShowModal();

    // Routes the targets of all three links through the given opener (empty: the desktop).
    void SetLinkOpener(const TcwHyperLink::TOpener& opener);

    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CenterOnScreen();

    std::unique_ptr<Ui::TForm2> FUi;
    bool FShownBefore = false;
};

// The one about window of the program, created by the start-up after the main window.
extern TForm2* Form2;
