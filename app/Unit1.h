#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QWidget>

#include "app/RuleTexts.h"
#include "scan/DiskScan.h"

class QAction;
class QLineEdit;
class QMenu;
class QCloseEvent;
class QSessionManager;
class TantTaskbarIcon;
class TApplicationObject;
class TDialogs;
class TStringList;

namespace Ui {
class TForm1;
}

// The main window: twelve rule fields, the toolbar, the result list, two status bars, the
// tray icon and its menu, and the scanner that runs a batch.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    TForm1(TDialogs& dialogs, TApplicationObject& application, QWidget* parent = nullptr);
    ~TForm1() override;

    // Handlers, named after the control and the event they are bound to.
    void FormCreate();
    void FormDestroy();
    bool FormCloseQuery();
    void N17Click();
    void N18Click();
    void N14Click();
    void N20Click();
    void N15Click();
    void SpeedButton1Click();
    void N23Click();
    void SpeedButton3Click();
    void SpeedButton5Click();
    void DiskScan1DirFound(TObject* Sender, const std::string& Directory);
    void DiskScan1FileFound(TObject* Sender, const std::string& FileName);
    void Button1Click();
    void ProcessCurrentFile();

    // The session is ending: ask as for any other close, and refuse if told so.
    void CommitDataRequest(QSessionManager& manager);

    // Shows the about window modally; set by start-up once the about window exists.
    std::function<void()> ShowAboutWindow;
    // Whether a notification area exists to hide into; without one the window never hides.
    std::function<bool()> TrayAvailable;

    std::unique_ptr<Ui::TForm1> ui;
    TDiskScan DiskScan1;
    TantTaskbarIcon* antTaskbarIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N17 = nullptr;
    QAction* N18 = nullptr;
    QAction* N19 = nullptr;
    QAction* N20 = nullptr;
    QAction* N21 = nullptr;
    QAction* N22 = nullptr;
    QAction* N23 = nullptr;
    std::unique_ptr<TStringList> FileLines;

    // The full path (bytes, as on disk) of each row of the result list.
    const std::vector<std::string>& ResultPaths() const { return FResultPaths; }
    // Text of a panel of the status bar StatusBar1 (0 .. 3).
    QString StatusPanelText(int panel) const;
    bool BatchRunning() const { return FBatchRunning; }
    // Edit1 .. Edit12, in the order of their numbers.
    std::array<QLineEdit*, 12> RuleEdits() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTrayMenu();
    void BuildStatusBar();
    void BindEvents();
    void SetStatusPanel(int panel, const QString& text);
    void SetProgress(const QString& prefix, const std::string& path);
    void AddResultRow(const std::string& path);
    void FlushResultScroll();
    void LetMessagesRun();
    template <class F> void Guard(F&& body);

    TDialogs& FDialogs;
    TApplicationObject& FApplication;
    TRuleTexts FRules;
    std::vector<std::string> FResultPaths;
    std::vector<int> FAnchoredRightMargins;
    bool FBatchRunning = false;
    bool FScrollPending = false;
    bool FStopRequested = false;
    bool FCloseConfirmed = false;
    QElapsedTimer FMessagesRun;
};

// The main window, created at start-up.
extern TForm1* Form1;
// Full path of the file being processed.
extern std::string CurrentFileName;
// Files written back in the current batch.
extern std::int32_t ChangedCount;
