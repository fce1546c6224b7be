// The window's batch: the Directory button, the scanner's events and the pass over one file.

#include <exception>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/Unit1.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "text/Rewrite.h"
#include "text/StringList.h"
#include "ui_Unit1.h"
#include "widgets/Dialogs.h"

namespace {

// Pending window messages run on entering a directory, but at most this often.
constexpr qint64 kMessageIntervalMs = 40;

QString Shown(const std::string& path) {
    return QString::fromStdString(TCodePage::FromLocale().ToUtf8(path));
}

// Marks a batch as running for as long as the object lives.
class TBatchScope {
public:
    explicit TBatchScope(bool& running) : FRunning(running) { FRunning = true; }
    ~TBatchScope() { FRunning = false; }
    TBatchScope(const TBatchScope&) = delete;
    TBatchScope& operator=(const TBatchScope&) = delete;

private:
    bool& FRunning;
};

} // namespace

void TForm1::SetProgress(const QString& prefix, const std::string& path) {
    ui->StatusBar2->setText(prefix + Shown(path));
}

void TForm1::SpeedButton3Click() {
    if (FBatchRunning) {
        return; // one batch at a time: the press is ignored
    }
    QString chosen;
    if (!FDialogs.SelectDirectory(this, chosen)) {
        return;
    }
    const std::string directory = QFile::encodeName(chosen).toStdString();
    SetProgress(QStringLiteral("当前搜索目录: "), directory);
    DiskScan1.SetStartDirectory(directory);
    ui->ListView1->clear();
    FResultPaths.clear();
    FScrollPending = false;
    ChangedCount = 0;
    SetStatusPanel(1, QStringLiteral("0"));
    SetStatusPanel(2, QString());
    ui->StatusBar2->setText(QString());
    FStopRequested = false;
    FMessagesRun.invalidate();
    std::exception_ptr failure;
    {
        TBatchScope running(FBatchRunning);
        try {
            DiskScan1.Execute();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    FlushResultScroll();
    if (FCloseConfirmed) {
        close(); // an exit confirmed during the walk: the walk has stopped, now close
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void TForm1::DiskScan1DirFound(TObject*, const std::string& Directory) {
    if (FStopRequested) {
        throw EAbort();
    }
    SetProgress(QStringLiteral("找到下级目录: "), Directory);
}

void TForm1::LetMessagesRun() {
    // Painting the list and the progress line once per directory costs more than the batch
    // itself on a tree of small directories; at this rate the window still answers at once.
    if (FMessagesRun.isValid() && FMessagesRun.elapsed() < kMessageIntervalMs) {
        return;
    }
    FlushResultScroll();
    QCoreApplication::processEvents();
    FMessagesRun.start();
}

void TForm1::DiskScan1FileFound(TObject*, const std::string& FileName) {
    FRules.Read(RuleEdits());
    if (!PathMatchesFilters(FileName, FRules.Filters())) {
        return;
    }
    SetProgress(QStringLiteral("当前搜索文件: "), FileName);
    CurrentFileName = FileName;
    FileLines->ClearLines();
    FileLines->LoadLines(FileName); // not guarded: a file that cannot be read ends the batch
    ui->Button1->click();
}

void TForm1::Button1Click() {
    ProcessCurrentFile();
}

void TForm1::ProcessCurrentFile() {
    if (!RewriteIfChanged(*FileLines, CurrentFileName, FRules.Pairs(), TCodePage::FromLocale())) {
        return;
    }
    AddResultRow(CurrentFileName);
    ++ChangedCount;
    SetStatusPanel(1, QString::number(ChangedCount));
}

void TForm1::AddResultRow(const std::string& path) {
    auto* row = new QTreeWidgetItem(QStringList{Shown(path)});
    ui->ListView1->addTopLevelItem(row);
    FResultPaths.push_back(path);
    // Scrolling lays the list out; doing it once before the window next paints shows the
    // same rows as doing it per row.
    FScrollPending = true;
}

void TForm1::FlushResultScroll() {
    if (!FScrollPending) {
        return;
    }
    FScrollPending = false;
    const int rows = ui->ListView1->topLevelItemCount();
    if (rows > 0) {
        ui->ListView1->scrollToItem(ui->ListView1->topLevelItem(rows - 1));
    }
}

void TForm1::SpeedButton5Click() {
    const QString fileName = FDialogs.SaveFileName(this);
    if (fileName.isEmpty()) {
        return;
    }
    std::string content;
    for (const std::string& path : FResultPaths) {
        content += path;
        content += '\n';
    }
    WriteFileSafely(QFile::encodeName(fileName).toStdString(), content);
}
