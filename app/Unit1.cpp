#include "app/Unit1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>

#include "about/MakerDetails.h"
#include "app/AppTitle.h"
#include "app/EditRuleFields.h"
#include "app/ToolbarGlyph.h"
#include "platform/CodePage.h"
#include "settings/Settings.h"
#include "text/StringList.h"
#include "ui_Unit1.h"
#include "widgets/Application.h"
#include "widgets/Dialogs.h"
#include "widgets/Guard.h"
#include "widgets/TaskbarIcon.h"

TForm1* Form1 = nullptr;
std::string CurrentFileName;
std::int32_t ChangedCount = 0;

namespace {
const QColor kHintColour(0, 255, 0); // lime green
constexpr int kStatusPanelWidths[3] = {39, 60, 180};
// Width of the rules panel in the design, from which the filter fields' right margins follow.
constexpr int kRulesPanelDesignWidth = 563;
const char* const kExitQuestion = "确认退出Zeroraz网页批量修改器吗?";
} // namespace

template <class F> void TForm1::Guard(F&& body) {
    Guarded(FDialogs, this, std::forward<F>(body));
}

TForm1::TForm1(TDialogs& dialogs, TApplicationObject& application, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm1>()), FDialogs(dialogs),
      FApplication(application), FRules(TCodePage::FromLocale()) {
    TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    ui->setupUi(this);
    setWindowTitle(QString::fromUtf8(kAppTitle) + QStringLiteral(" —主页: ") +
                   QString::fromUtf8(kMakerHomePage) + QStringLiteral(" QQ:") +
                   QString::fromUtf8(kMakerQQNumber));
    setWindowIcon(QIcon(QStringLiteral(":/icons/program.xpm")));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);
    BuildStatusBar();
    ui->StatusBar2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    ui->ListView1->setColumnWidth(0, 229);
    ui->SpeedButton3->setIcon(ToolbarGlyph(QStringLiteral(":/toolbar/directory.xpm")));
    ui->SpeedButton5->setIcon(ToolbarGlyph(QStringLiteral(":/toolbar/save.xpm")));
    ui->SpeedButton9->setIcon(ToolbarGlyph(QStringLiteral(":/toolbar/about.xpm")));
    ui->SpeedButton2->setIcon(ToolbarGlyph(QStringLiteral(":/toolbar/website.xpm")));
    ui->SpeedButton1->setIcon(ToolbarGlyph(QStringLiteral(":/toolbar/exit.xpm")));

    // The filter fields keep their distance from the rules panel's right edge.
    for (QLineEdit* edit : {ui->Edit3, ui->Edit10, ui->Edit11, ui->Edit12}) {
        FAnchoredRightMargins.push_back(kRulesPanelDesignWidth - edit->geometry().right() - 1);
    }
    ui->Panel2->installEventFilter(this);

    BuildTrayMenu();
    antTaskbarIcon1 = new TantTaskbarIcon(this);
    antTaskbarIcon1->setObjectName(QStringLiteral("antTaskbarIcon1"));
    antTaskbarIcon1->SetIcon(windowIcon());
    antTaskbarIcon1->SetHint(QString::fromUtf8(kAppTitle));
    antTaskbarIcon1->SetPopupMenu(PopupMenu1);
    antTaskbarIcon1->SetVisible(true);
    BindEvents();
    FormCreate();
}

TForm1::~TForm1() {
    Guard([this] { FormDestroy(); });
}

void TForm1::BuildStatusBar() {
    ui->StatusBar1->setFont(QApplication::font());
    ui->StatusBar2->setFont(QApplication::font());
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(ui->StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        if (i < 3) {
            panel->setFixedWidth(kStatusPanelWidths[i]);
            ui->StatusBar1->addWidget(panel);
        } else {
            // The contact line takes the rest of the bar and never widens the window.
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            ui->StatusBar1->addWidget(panel, 1);
        }
    }
    SetStatusPanel(0, QStringLiteral("数量："));
    SetStatusPanel(3, QStringLiteral("QQ号码:") + QString::fromUtf8(kMakerQQNumber) +
                          QStringLiteral(" MSN号码:") + QString::fromUtf8(kMakerMsnAccount));
}

void TForm1::SetStatusPanel(int panel, const QString& text) {
    ui->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusBar1Panel%1").arg(panel))
        ->setText(text);
}

QString TForm1::StatusPanelText(int panel) const {
    return ui->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusBar1Panel%1").arg(panel))
        ->text();
}

void TForm1::BuildTrayMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& caption) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    N17 = item("N17", QStringLiteral("显示主程序(&S)"));
    N17->setEnabled(false);
    N18 = item("N18", QStringLiteral("最小化显示(&M)"));
    N19 = item("N19", QStringLiteral("与我们联系(&L)"));
    N20 = item("N20", QStringLiteral("访问Ziridez主页(&V)"));
    N21 = item("N21", QStringLiteral("关于本软件(&A)"));
    N22 = PopupMenu1->addSeparator();
    N22->setObjectName(QStringLiteral("N22"));
    N23 = item("N23", QStringLiteral("退 出(&Exit)"));
}

void TForm1::BindEvents() {
    auto bind = [this](auto* source, auto signal, void (TForm1::*handler)()) {
        connect(source, signal, this,
                [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    };
    bind(N17, &QAction::triggered, &TForm1::N17Click);
    bind(N18, &QAction::triggered, &TForm1::N18Click);
    bind(N19, &QAction::triggered, &TForm1::N14Click);
    bind(N20, &QAction::triggered, &TForm1::N20Click);
    bind(N21, &QAction::triggered, &TForm1::N15Click);
    bind(N23, &QAction::triggered, &TForm1::N23Click);
    bind(ui->SpeedButton3, &QToolButton::clicked, &TForm1::SpeedButton3Click);
    bind(ui->SpeedButton5, &QToolButton::clicked, &TForm1::SpeedButton5Click);
    bind(ui->SpeedButton9, &QToolButton::clicked, &TForm1::N15Click);
    bind(ui->SpeedButton2, &QToolButton::clicked, &TForm1::N20Click);
    bind(ui->SpeedButton1, &QToolButton::clicked, &TForm1::SpeedButton1Click);
    // The hidden button runs the pass of one file; every failure in it is discarded.
    connect(ui->Button1, &QPushButton::clicked, this, [this] {
        try {
            Button1Click();
        } catch (...) {
        }
    });
    antTaskbarIcon1->OnClick = [this] { Guard([this] { N17Click(); }); };
    DiskScan1.OnFileFound = [this](TObject* sender, const std::string& fileName) {
        DiskScan1FileFound(sender, fileName);
    };
    DiskScan1.OnDirFound = [this](TObject* sender, const std::string& directory) {
        DiskScan1DirFound(sender, directory);
    };
    DiskScan1.ProcessMessages = [this] { LetMessagesRun(); };
}

std::array<QLineEdit*, 12> TForm1::RuleEdits() const {
    return {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4,  ui->Edit5,  ui->Edit6,
            ui->Edit7, ui->Edit8, ui->Edit9, ui->Edit10, ui->Edit11, ui->Edit12};
}

void TForm1::FormCreate() {
    Guard([this] {
        FileLines = std::make_unique<TStringList>();
        FApplication.SetHintColor(kHintColour);
        FApplication.SetMainWindow(this);
        FApplication.OnMinimize = [this] { Guard([this] { N18Click(); }); };
        TEditRuleFields fields(RuleEdits(), TCodePage::FromLocale());
        LoadSettings(fields);
    });
}

void TForm1::FormDestroy() {
    FileLines.reset();
    const TEditRuleFields fields(RuleEdits(), TCodePage::FromLocale());
    SaveSettings(fields);
}

bool TForm1::FormCloseQuery() {
    return FDialogs.Confirm(this, QString::fromUtf8(kExitQuestion)) != TConfirmAnswer::No;
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->ignore();
    Guard([this, event] {
        if (!FCloseConfirmed && !FormCloseQuery()) {
            return;
        }
        FCloseConfirmed = true;
        if (FBatchRunning) {
            // The walk stops at the next directory; the close follows when it has unwound.
            FStopRequested = true;
            return;
        }
        event->accept();
        QCoreApplication::quit();
    });
}

void TForm1::CommitDataRequest(QSessionManager& manager) {
    Guard([this, &manager] {
        if (!FormCloseQuery()) {
            manager.cancel();
        }
    });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Panel2 && event->type() == QEvent::Resize) {
        const int width = ui->Panel2->width();
        std::size_t i = 0;
        for (QLineEdit* edit : {ui->Edit3, ui->Edit10, ui->Edit11, ui->Edit12}) {
            QRect g = edit->geometry();
            g.setRight(width - 1 - FAnchoredRightMargins[i++]);
            edit->setGeometry(g);
        }
    }
    return QWidget::eventFilter(watched, event);
}
