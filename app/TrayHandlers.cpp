// The window's handlers for hiding to the tray and coming back, the links and exit.

#include <QAction>
#include <QUrl>

#include "about/MakerDetails.h"
#include "app/Unit1.h"
#include "widgets/Application.h"
#include "widgets/Dialogs.h"

void TForm1::N18Click() {
    if (!TrayAvailable()) {
        return; // with nowhere to hide into, the window stays reachable
    }
    N18->setEnabled(false);
    N17->setEnabled(true);
    FApplication.ShowApplicationWindow(false);
    hide();
}

void TForm1::N17Click() {
    N17->setEnabled(false);
    N18->setEnabled(true);
    FApplication.ShowApplicationWindow(true);
    FApplication.Restore();
    show();
    raise();
    activateWindow();
}

void TForm1::N14Click() {
    FDialogs.OpenUrl(QUrl(QString::fromUtf8(kMakerMailLink)));
}

void TForm1::N20Click() {
    FDialogs.OpenUrl(QUrl(QString::fromUtf8(kMakerHomePage)));
}

void TForm1::N15Click() {
    if (ShowAboutWindow) {
        ShowAboutWindow();
    }
}

void TForm1::SpeedButton1Click() {
    close();
}

void TForm1::N23Click() {
    close();
}
