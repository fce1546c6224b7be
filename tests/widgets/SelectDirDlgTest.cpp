#include <filesystem>
#include <string>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>
#include <QTreeWidget>

#include "platform/Exceptions.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/TempDir.h"
#include "tests/widgets/ModalDriver.h"
#include "widgets/ScriptedDialogs.h"
#include "widgets/SelectDirDlg.h"

Q_DECLARE_METATYPE(TConfirmAnswer)

namespace {
const QString kCreateQuestion = QStringLiteral("指定的目录不存在. 创建吗?");

QString Q(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The directory as the chooser shows it: symbolic links on the way resolved.
QString Canonical(const std::string& path) {
    return QFileInfo(Q(path)).canonicalFilePath();
}

bool IsDir(const QString& path) {
    return QFileInfo(path).isDir();
}

template <class T> T* Child(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        QTest::qFail(name, __FILE__, __LINE__);
    }
    return child;
}

void Type(TSelectDirDlg& dialog, const QString& text) {
    Child<QLineEdit>(dialog, "DirEdit")->setText(text);
}

void ClickOK(TSelectDirDlg& dialog) {
    QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
}

void ClickCancel(TSelectDirDlg& dialog) {
    QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
}

QStringList Files(const TSelectDirDlg& dialog) {
    QStringList names;
    const auto* list = Child<QListWidget>(dialog, "FileList");
    for (int i = 0; i < list->count(); ++i) {
        names.append(list->item(i)->text());
    }
    return names;
}

QTreeWidgetItem* ChildItem(QTreeWidgetItem* item, const QString& text) {
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == text) {
            return item->child(i);
        }
    }
    return nullptr;
}
} // namespace

// A small tree: alpha with two files and a directory below, beta empty, a plain file.
class TSelectDirDlgTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempDir> FTemp;
    QString FRoot;

private slots:
    void init() {
        FTemp = std::make_unique<TTempDir>();
        FTemp->Write("alpha/b.html", "<p>");
        FTemp->Write("alpha/a.txt", "x");
        std::filesystem::create_directories(*FTemp / "alpha/inner");
        std::filesystem::create_directories(*FTemp / "beta");
        FTemp->Write("plain.txt", "x");
        FRoot = Canonical(FTemp->Path());
    }
    void cleanup() { FTemp.reset(); }

    void LooksLikeTheChooser() {
        TScriptedDialogs dialogs;
        TSelectDirDlg dialog(dialogs);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("选择目录"));
        QCOMPARE(dialog.size(), QSize(424, 255));
        QCOMPARE(Child<QLabel>(dialog, "DirNameLabel")->text(), QStringLiteral("目录名[&N]:"));
        QCOMPARE(Child<QLabel>(dialog, "DirLabel")->text(), QStringLiteral("目录[&D]:"));
        QCOMPARE(Child<QLabel>(dialog, "FileLabel")->text(), QStringLiteral("文件[&F]: (*.*)"));
        QCOMPARE(Child<QLabel>(dialog, "DriveLabel")->text(), QStringLiteral("磁盘驱动器[D&]:"));
        QCOMPARE(Child<QLabel>(dialog, "DirNameLabel")->buddy(),
                 Child<QLineEdit>(dialog, "DirEdit"));
        QVERIFY(!Child<QLineEdit>(dialog, "DirEdit")->isReadOnly());
        // Only OK and Cancel: no network button, no help button; OK is the default.
        QCOMPARE(dialog.findChildren<QPushButton*>().size(), 2);
        QCOMPARE(Child<QPushButton>(dialog, "OKButton")->text(), QStringLiteral("确定"));
        QCOMPARE(Child<QPushButton>(dialog, "CancelButton")->text(), QStringLiteral("取消"));
        QVERIFY(Child<QPushButton>(dialog, "OKButton")->isDefault());
        QVERIFY(Child<QPushButton>(dialog, "CancelButton")->geometry().right() >
                Child<QPushButton>(dialog, "OKButton")->geometry().right());
        QVERIFY(Child<QComboBox>(dialog, "DriveList")->findText(QStringLiteral("/")) >= 0);
    }

    void OpensOnTheGivenDirectory() {
        TScriptedDialogs dialogs;
        TSelectDirDlg dialog(dialogs);
        dialog.SetDirectory(Q(*FTemp / "alpha"));
        QCOMPARE(dialog.CurrentDirectory(), FRoot + "/alpha");
        QCOMPARE(Child<QLineEdit>(dialog, "DirEdit")->text(), FRoot + "/alpha");
        QCOMPARE(Files(dialog), (QStringList{"a.txt", "b.html"}));
        QCOMPARE(Child<QComboBox>(dialog, "DriveList")->currentText(),
                 QStorageInfo(FRoot).rootPath());
    }

    // A hidden directory on the way is not listed but still opens; a missing one shows its
    // nearest parent, with the text as given in the name field.
    void OpensOnHiddenAndMissingDirectories_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("name");
        QTest::newRow("hidden") << "@/.hidden/sub"
                                << "@/.hidden/sub"
                                << "@/.hidden/sub";
        QTest::newRow("missing") << "@/alpha/gone/deeper"
                                 << "@/alpha"
                                 << "@/alpha/gone/deeper";
    }
    void OpensOnHiddenAndMissingDirectories() {
        QFETCH(QString, given);
        QFETCH(QString, current);
        QFETCH(QString, name);
        std::filesystem::create_directories(*FTemp / ".hidden/sub");
        TScriptedDialogs dialogs;
        TSelectDirDlg dialog(dialogs);
        dialog.SetDirectory(given.replace(u'@', FRoot));
        QCOMPARE(dialog.CurrentDirectory(), current.replace(u'@', FRoot));
        QCOMPARE(Child<QLineEdit>(dialog, "DirEdit")->text(), name.replace(u'@', FRoot));
    }

    void OpensOnTheCurrentDirectoryWhenEmpty() {
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(FRoot + "/beta"));
        QString opened;
        WhenModal<TSelectDirDlg>([&](TSelectDirDlg& dialog) {
            opened = dialog.CurrentDirectory();
            ClickCancel(dialog);
        });
        TScriptedDialogs dialogs;
        TSelectDirDlg dialog(dialogs);
        QString directory;
        const bool chosen = dialog.Execute(directory);
        QDir::setCurrent(before);
        QVERIFY(!chosen);
        QCOMPARE(opened, FRoot + "/beta");
        QVERIFY(directory.isEmpty());
    }

    void TreeShowsTheChosenDirectory() {
        TScriptedDialogs dialogs;
        TSelectDirDlg dialog(dialogs);
        dialog.show();
        dialog.SetDirectory(FRoot);
        auto* tree = Child<QTreeWidget>(dialog, "DirList");
        QTreeWidgetItem* alpha = ChildItem(tree->currentItem(), QStringLiteral("alpha"));
        QVERIFY(alpha != nullptr);
        QVERIFY(ChildItem(tree->currentItem(), QStringLiteral("plain.txt")) == nullptr);
        tree->scrollToItem(alpha);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(alpha).center());
        QCOMPARE(dialog.CurrentDirectory(), FRoot + "/alpha");
        QCOMPARE(Child<QLineEdit>(dialog, "DirEdit")->text(), FRoot + "/alpha");
        QCOMPARE(Files(dialog), (QStringList{"a.txt", "b.html"}));
        // Directories below are listed when their parent opens.
        tree->expandItem(alpha);
        QVERIFY(ChildItem(alpha, QStringLiteral("inner")) != nullptr);
    }

    void ChoosingAFilesystemMovesTheTree() {
        TScriptedDialogs dialogs;
        TSelectDirDlg dialog(dialogs);
        dialog.SetDirectory(FRoot);
        auto* drives = Child<QComboBox>(dialog, "DriveList");
        const int root = drives->findText(QStringLiteral("/"));
        drives->setCurrentIndex(root);
        emit drives->activated(root);
        auto* tree = Child<QTreeWidget>(dialog, "DirList");
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("/"));
        QCOMPARE(dialog.CurrentDirectory(), QStringLiteral("/"));
        QCOMPARE(Child<QLineEdit>(dialog, "DirEdit")->text(), QStringLiteral("/"));
    }

    void MissingDirectoryIsCreatedAfterYes() {
        TScriptedDialogs dialogs;
        dialogs.NextConfirm(TConfirmAnswer::Yes);
        WhenModal<TSelectDirDlg>([&](TSelectDirDlg& dialog) {
            Type(dialog, FRoot + "/new/deeper/");
            ClickOK(dialog);
        });
        TSelectDirDlg dialog(dialogs);
        QString directory = FRoot;
        QVERIFY(dialog.Execute(directory));
        QCOMPARE(directory, FRoot + "/new/deeper");
        QVERIFY(IsDir(directory));
        QCOMPARE(dialogs.ConfirmTexts(), QStringList{kCreateQuestion});
        QVERIFY(dialogs.Unexpected().isEmpty());
    }

    void MissingDirectoryKeepsTheChooserOpenUnlessYes_data() {
        QTest::addColumn<TConfirmAnswer>("answer");
        QTest::newRow("No") << TConfirmAnswer::No;
        QTest::newRow("box closed") << TConfirmAnswer::Closed;
    }
    void MissingDirectoryKeepsTheChooserOpenUnlessYes() {
        QFETCH(TConfirmAnswer, answer);
        TScriptedDialogs dialogs;
        dialogs.NextConfirm(answer);
        bool stayedOpen = false;
        WhenModal<TSelectDirDlg>([&](TSelectDirDlg& dialog) {
            Type(dialog, FRoot + "/new");
            ClickOK(dialog);
            stayedOpen = dialog.isVisible();
            ClickCancel(dialog);
        });
        TSelectDirDlg dialog(dialogs);
        QString directory = FRoot;
        QVERIFY(!dialog.Execute(directory));
        QVERIFY(stayedOpen);
        QCOMPARE(directory, FRoot);
        QVERIFY(!IsDir(FRoot + "/new"));
        QCOMPARE(dialogs.ConfirmTexts(), QStringList{kCreateQuestion});
    }

    void CancelChangesNothing() {
        TScriptedDialogs dialogs;
        WhenModal<TSelectDirDlg>([&](TSelectDirDlg& dialog) {
            Type(dialog, FRoot + "/beta");
            ClickCancel(dialog);
        });
        TSelectDirDlg dialog(dialogs);
        QString directory = FRoot;
        QVERIFY(!dialog.Execute(directory));
        QCOMPARE(directory, FRoot);
        QVERIFY(dialogs.ConfirmTexts().isEmpty());
    }

    // Existing directories are taken without a question, in their clean form.
    void ExistingDirectoryIsTakenAsItIs_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("doubled root") << "//"
                                      << "/";
        QTest::newRow("trailing slash") << "@/alpha/"
                                        << "@/alpha";
        QTest::newRow("dots") << "@/alpha/../beta/."
                              << "@/beta";
        QTest::newRow("relative to the tree") << "alpha/inner"
                                              << "@/alpha/inner";
    }
    void ExistingDirectoryIsTakenAsItIs() {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        TScriptedDialogs dialogs;
        WhenModal<TSelectDirDlg>([&](TSelectDirDlg& dialog) {
            Type(dialog, QString(typed).replace(u'@', FRoot));
            ClickOK(dialog);
        });
        TSelectDirDlg dialog(dialogs);
        QString directory = FRoot;
        QVERIFY(dialog.Execute(directory));
        QCOMPARE(directory, chosen.replace(u'@', FRoot));
        QVERIFY(dialogs.ConfirmTexts().isEmpty());
    }

    void RelativeMissingDirectoryIsCreatedBelowTheTree() {
        TScriptedDialogs dialogs;
        dialogs.NextConfirm(TConfirmAnswer::Yes);
        WhenModal<TSelectDirDlg>([&](TSelectDirDlg& dialog) {
            Type(dialog, QStringLiteral("fresh"));
            ClickOK(dialog);
        });
        TSelectDirDlg dialog(dialogs);
        QString directory = FRoot + "/beta";
        QVERIFY(dialog.Execute(directory));
        QCOMPARE(directory, FRoot + "/beta/fresh");
        QVERIFY(IsDir(directory));
    }

    // An empty name, or a directory that cannot be made, fails once the user has agreed.
    void CreationFailureThrows_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty text") << "";
        QTest::newRow("below a file") << "@/plain.txt/sub";
        QTest::newRow("a file") << "@/plain.txt";
    }
    void CreationFailureThrows() {
        QFETCH(QString, typed);
        TScriptedDialogs dialogs;
        dialogs.NextConfirm(TConfirmAnswer::Yes);
        WhenModal<TSelectDirDlg>([&](TSelectDirDlg& dialog) {
            Type(dialog, QString(typed).replace(u'@', FRoot));
            ClickOK(dialog);
        });
        TSelectDirDlg dialog(dialogs);
        QString directory = FRoot;
        try {
            dialog.Execute(directory);
            QFAIL("no exception");
        } catch (const Exception& failure) {
            QCOMPARE(failure.Message(), std::string("Unable to create directory"));
        }
        QCOMPARE(directory, FRoot);
        QCOMPARE(dialogs.ConfirmTexts(), QStringList{kCreateQuestion});
        QVERIFY(QFileInfo(FRoot + "/plain.txt").isFile());
    }

    void RealDialogsSelectDirectory() {
        WhenModal<TSelectDirDlg>([&](TSelectDirDlg& dialog) {
            Type(dialog, FRoot + "/beta");
            QTest::keyClick(Child<QLineEdit>(dialog, "DirEdit"), Qt::Key_Return);
        });
        TDialogs dialogs;
        QString directory;
        QVERIFY(dialogs.SelectDirectory(nullptr, directory));
        QCOMPARE(directory, FRoot + "/beta");
    }
};

ZR_REGISTER_QTEST(TSelectDirDlgTest);
#include "SelectDirDlgTest.moc"
