#include "widgets/SelectDirDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "platform/Exceptions.h"
#include "widgets/Dialogs.h"
#include "widgets/Guard.h"
#include "widgets/MountPoints.h"
#include "widgets/ScreenCentre.h"

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

QString ChildPath(const QString& parent, const QString& name) {
    return parent.endsWith(u'/') ? parent + name : parent + u'/' + name;
}

QString ItemPath(const QTreeWidgetItem* item) {
    return item->data(0, kPathRole).toString();
}

QTreeWidgetItem* NewDirItem(const QString& text, const QString& path) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kPathRole, path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

// The nearest directory at or above path that exists.
QString ExistingDirectory(QString path) {
    while (!QFileInfo(path).isDir() && path != QStringLiteral("/")) {
        path = QFileInfo(path).path();
    }
    return path;
}

QLabel* NewLabel(const QString& text, QWidget* buddy, const QRect& geometry, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    label->setGeometry(geometry);
    return label;
}
} // namespace

TSelectDirDlg::TSelectDirDlg(TDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FDialogs(dialogs), FDirEdit(new QLineEdit(this)), FDirList(new QTreeWidget(this)),
      FFileList(new QListWidget(this)), FDriveList(new QComboBox(this)),
      FOKButton(new QPushButton(QStringLiteral("确定"), this)),
      FCancelButton(new QPushButton(QStringLiteral("取消"), this)) {
    setObjectName(QStringLiteral("SelectDirDlg"));
    setWindowTitle(QStringLiteral("选择目录"));
    setFixedSize(424, 255);

    FDirEdit->setObjectName(QStringLiteral("DirEdit"));
    FDirList->setObjectName(QStringLiteral("DirList"));
    FFileList->setObjectName(QStringLiteral("FileList"));
    FDriveList->setObjectName(QStringLiteral("DriveList"));
    FOKButton->setObjectName(QStringLiteral("OKButton"));
    FCancelButton->setObjectName(QStringLiteral("CancelButton"));

    NewLabel(QStringLiteral("目录名[&N]:"), FDirEdit, {8, 6, 408, 16}, this)
        ->setObjectName(QStringLiteral("DirNameLabel"));
    FDirEdit->setGeometry(8, 22, 408, 22);
    NewLabel(QStringLiteral("目录[&D]:"), FDirList, {8, 50, 200, 16}, this)
        ->setObjectName(QStringLiteral("DirLabel"));
    FDirList->setGeometry(8, 66, 200, 140);
    NewLabel(QStringLiteral("文件[&F]: (*.*)"), FFileList, {216, 50, 200, 16}, this)
        ->setObjectName(QStringLiteral("FileLabel"));
    FFileList->setGeometry(216, 66, 200, 140);
    NewLabel(QStringLiteral("磁盘驱动器[D&]:"), FDriveList, {8, 210, 200, 16}, this)
        ->setObjectName(QStringLiteral("DriveLabel"));
    FDriveList->setGeometry(8, 226, 200, 24);
    FOKButton->setGeometry(260, 225, 75, 25);
    FCancelButton->setGeometry(341, 225, 75, 25);

    FDirList->setHeaderHidden(true);
    FDirList->setColumnCount(1);
    FFileList->setSelectionMode(QAbstractItemView::NoSelection);
    FDriveList->addItems(MountPoints());
    FOKButton->setDefault(true);

    connect(FOKButton, &QPushButton::clicked, this, &TSelectDirDlg::OKButtonClick);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(FDriveList, &QComboBox::activated, this, &TSelectDirDlg::DriveListChange);
    connect(FDirList, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        Guarded(FDialogs, this, [&] { FillChildren(item); });
    });
    connect(FDirList, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { DirListCurrentChange(current); });

    SetDirectory({});
}

bool TSelectDirDlg::Execute(QString& directory) {
    SetDirectory(directory);
    CentreOnScreen(*this);
    if (exec() != Accepted) {
        return false;
    }
    if (FChosen.isEmpty() || (!QFileInfo(FChosen).isDir() && !QDir::root().mkpath(FChosen))) {
        throw Exception("Unable to create directory");
    }
    directory = FChosen;
    return true;
}

void TSelectDirDlg::SetDirectory(const QString& directory) {
    const QString wanted = QDir::cleanPath(
        directory.isEmpty() ? QDir::currentPath() : QDir::current().absoluteFilePath(directory));
    const QString existing = ExistingDirectory(wanted);
    // Symbolic links on the way are resolved so that the path descends from its mount point.
    QString shown = QFileInfo(existing).canonicalFilePath();
    if (shown.isEmpty()) {
        shown = existing;
    }
    const QString root = MountPointOf(shown);
    if (FDriveList->findText(root) < 0) {
        FDriveList->addItem(root);
    }
    FDriveList->setCurrentIndex(FDriveList->findText(root));
    ShowMount(root);

    QTreeWidgetItem* item = FDirList->topLevelItem(0);
    const QString below = QDir(root).relativeFilePath(shown);
    if (!below.startsWith(QStringLiteral(".."))) {
        for (const QString& name : below.split(u'/', Qt::SkipEmptyParts)) {
            if (name == QStringLiteral(".")) {
                continue;
            }
            FillChildren(item);
            QTreeWidgetItem* child = nullptr;
            for (int i = 0; i < item->childCount() && child == nullptr; ++i) {
                if (item->child(i)->text(0) == name) {
                    child = item->child(i);
                }
            }
            if (child == nullptr) {
                // Hidden directories are not listed but may lie on the way.
                child = NewDirItem(name, ChildPath(ItemPath(item), name));
                item->addChild(child);
            }
            item->setExpanded(true);
            item = child;
        }
    }
    // The directory opens on its own subdirectories.
    FillChildren(item);
    item->setExpanded(true);
    FDirList->setCurrentItem(item);
    FDirList->scrollToItem(item);
    if (existing != wanted) {
        FDirEdit->setText(wanted);
    }
}

QString TSelectDirDlg::CurrentDirectory() const {
    const QTreeWidgetItem* item = FDirList->currentItem();
    return item != nullptr ? ItemPath(item) : QDir::currentPath();
}

void TSelectDirDlg::OKButtonClick() {
    Guarded(FDialogs, this, [this] {
        const QString text = FDirEdit->text();
        const QString path = text.isEmpty()
                                 ? QString()
                                 : QDir::cleanPath(QDir(CurrentDirectory()).absoluteFilePath(text));
        if (path.isEmpty() || !QFileInfo(path).isDir()) {
            if (FDialogs.Confirm(this, QStringLiteral("指定的目录不存在. 创建吗?")) !=
                TConfirmAnswer::Yes) {
                return;
            }
        }
        FChosen = path;
        accept();
    });
}

void TSelectDirDlg::DriveListChange(int index) {
    Guarded(FDialogs, this, [&] {
        ShowMount(FDriveList->itemText(index));
        FDirList->setCurrentItem(FDirList->topLevelItem(0));
    });
}

void TSelectDirDlg::DirListCurrentChange(QTreeWidgetItem* current) {
    Guarded(FDialogs, this, [&] {
        if (current == nullptr) {
            return;
        }
        const QString path = ItemPath(current);
        FDirEdit->setText(path);
        FillFileList(path);
    });
}

void TSelectDirDlg::ShowMount(const QString& root) {
    FDirList->clear();
    QTreeWidgetItem* top = NewDirItem(root, root);
    FDirList->addTopLevelItem(top);
    FillChildren(top);
    top->setExpanded(true);
}

void TSelectDirDlg::FillChildren(QTreeWidgetItem* item) {
    if (item->data(0, kFilledRole).toBool()) {
        return;
    }
    item->setData(0, kFilledRole, true);
    const QString path = ItemPath(item);
    const QStringList names =
        QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        item->addChild(NewDirItem(name, ChildPath(path, name)));
    }
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TSelectDirDlg::FillFileList(const QString& directory) {
    FFileList->clear();
    FFileList->addItems(QDir(directory).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}
