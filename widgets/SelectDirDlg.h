#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TDialogs;

// The directory chooser: an editable directory name, the directory tree, the files of the
// directory shown, and the mounted filesystems in place of drive letters. A typed directory
// that does not exist is created, with its parents, once the user has agreed to it.
class TSelectDirDlg : public QDialog {
    Q_OBJECT

public:
    // dialogs asks whether a missing directory is to be created.
    explicit TSelectDirDlg(TDialogs& dialogs, QWidget* parent = nullptr);

    // Shows the chooser modally on directory (the current directory when empty). On
    // confirmation, creates the chosen directory if it is missing, stores it in directory
    // (absolute, no trailing "/" except the root) and answers true; false when cancelled.
    // Throws Exception("Unable to create directory") for an empty text or a failed creation.
    bool Execute(QString& directory);

    // Moves the chooser to directory, or to the process's current directory when empty; a
    // missing directory shows its nearest existing parent in the tree and its text in the
    // name field.
    void SetDirectory(const QString& directory);
    // The directory selected in the tree.
    QString CurrentDirectory() const;
    // The directory accepted by the last confirmation: absolute and clean; empty for an
    // empty text.
    QString ChosenDirectory() const { return FChosen; }

private:
    void OKButtonClick();
    void DriveListChange(int index);
    void DirListCurrentChange(QTreeWidgetItem* current);
    void ShowMount(const QString& root);
    void FillChildren(QTreeWidgetItem* item);
    void FillFileList(const QString& directory);

    TDialogs& FDialogs;
    QLineEdit* FDirEdit;
    QTreeWidget* FDirList;
    QListWidget* FFileList;
    QComboBox* FDriveList;
    QPushButton* FOKButton;
    QPushButton* FCancelButton;
    QString FChosen;
};
