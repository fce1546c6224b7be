#include <memory>

#include <QApplication>
#include <QScreen>
#include <QSessionManager>
#include <QUrl>

#include "about/Unit4.h"
#include "app/AppTitle.h"
#include "app/Unit1.h"
#include "widgets/Application.h"
#include "widgets/Dialogs.h"

namespace {

// Centres the window at the size its design gives it.
void CentreMainWindow(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The program ends when the main window closes, not when its last visible window does:
    // the main window may be hidden in the tray while the about window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    TApplicationObject application;
    application.SetTitle(QString::fromUtf8(kAppTitle));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/program.xpm")));
    TDialogs dialogs;

    auto mainWindow = std::make_unique<TForm1>(dialogs, application);
    Form1 = mainWindow.get();
    auto aboutWindow = std::make_unique<TForm2>(mainWindow.get());
    Form2 = aboutWindow.get();
    aboutWindow->SetLinkOpener([&dialogs](const QUrl& url) { dialogs.OpenUrl(url); });
    mainWindow->ShowAboutWindow = [&aboutWindow] { aboutWindow->ShowModal(); };
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest,
        [&mainWindow](QSessionManager& manager) { mainWindow->CommitDataRequest(manager); });

    CentreMainWindow(*mainWindow);
    mainWindow->show();
    const int result = QApplication::exec();

    // The about window goes first, then the main window, whose destroy handler saves the rules.
    aboutWindow.reset();
    Form2 = nullptr;
    mainWindow.reset();
    Form1 = nullptr;
    return result;
}
