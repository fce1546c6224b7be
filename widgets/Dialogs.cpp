#include "widgets/Dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "widgets/ConfirmBox.h"
#include "widgets/ErrorBox.h"
#include "widgets/SelectDirDlg.h"

TDialogs::~TDialogs() = default;

TConfirmAnswer TDialogs::Confirm(QWidget* parent, const QString& text) {
    TConfirmBox box(text, parent);
    return box.Execute();
}

void TDialogs::Error(QWidget* parent, const QString& message) {
    ShowErrorBox(parent, message);
}

bool TDialogs::SelectDirectory(QWidget* parent, QString& directory) {
    TSelectDirDlg dialog(*this, parent);
    return dialog.Execute(directory);
}

QString TDialogs::SaveFileName(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("搜索结果保存为"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Text files(*.txt)"), QStringLiteral("All files(*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setSizeGripEnabled(true);
    // Asking before overwriting is the dialog's default; it has no read-only check box.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void TDialogs::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}
