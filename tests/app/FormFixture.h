#pragma once

#include <memory>

#include <QByteArray>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include "app/Unit1.h"
#include "tests/common/TempDir.h"
#include "ui_Unit1.h"
#include "widgets/Application.h"
#include "widgets/ScriptedDialogs.h"

// A main window as start-up makes it, with its dialogs answered by the test and its
// settings file in a fresh configuration directory.
struct TFormFixture {
    TTempDir Dir;
    TScriptedDialogs Dialogs;
    TApplicationObject Application;
    std::unique_ptr<TForm1> Form;

    explicit TFormFixture(bool create = true) {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Dir / "config"));
        if (create) {
            Create();
        }
    }
    void Create() {
        Form = std::make_unique<TForm1>(Dialogs, Application);
        Form->TrayAvailable = [] { return true; };
    }
    // Ends the window as shutdown does; the exit question is not part of it.
    void Destroy() { Form.reset(); }

    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < Form->ui->ListView1->topLevelItemCount(); ++i) {
            rows << Form->ui->ListView1->topLevelItem(i)->text(0);
        }
        return rows;
    }
    QString Progress() const { return Form->ui->StatusBar2->text(); }
    void SetRule(int editNumber, const QString& text) {
        Form->RuleEdits()[static_cast<std::size_t>(editNumber - 1)]->setText(text);
    }
    // One batch from the Directory button, with the chooser answered by directory.
    void RunBatch(const std::string& directory) {
        Dialogs.NextDirectory(QString::fromStdString(directory));
        Form->ui->SpeedButton3->click();
    }
};
