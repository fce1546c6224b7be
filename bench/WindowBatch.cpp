// The window's batch, timed: the main window on the offscreen platform, its rule fields set
// to the command line's defaults, and the Directory button's handler run with the directory
// chooser answered ahead of time. Prints "batch_seconds=S changed=N".

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QFile>
#include <QLineEdit>

#include "app/Unit1.h"
#include "platform/Exceptions.h"
#include "widgets/Application.h"
#include "widgets/ScriptedDialogs.h"

namespace {

// The rules zeroraz-cli takes when given none: "$#$" removed, ".html" in the path.
void SetDefaultRules(TForm1& form) {
    const char* searches[] = {"Edit1", "Edit4", "Edit6", "Edit8"};
    const char* replacements[] = {"Edit2", "Edit5", "Edit7", "Edit9"};
    const char* filters[] = {"Edit3", "Edit10", "Edit11", "Edit12"};
    for (int i = 0; i < 4; ++i) {
        form.findChild<QLineEdit*>(searches[i])->setText(QStringLiteral("$#$"));
        form.findChild<QLineEdit*>(replacements[i])->setText(QString());
        form.findChild<QLineEdit*>(filters[i])->setText(QStringLiteral(".html"));
    }
}

// A settings (and runtime) directory of its own, so the window neither reads nor writes the
// user's.
class TScratchConfig {
public:
    TScratchConfig() {
        char name[] = "/tmp/zeroraz-bench-config-XXXXXX";
        if (::mkdtemp(name) != nullptr) {
            FPath = name;
            ::setenv("XDG_CONFIG_HOME", name, 1);
            ::setenv("XDG_RUNTIME_DIR", name, 0);
        }
    }
    ~TScratchConfig() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TScratchConfig(const TScratchConfig&) = delete;
    TScratchConfig& operator=(const TScratchConfig&) = delete;

private:
    std::string FPath;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zeroraz-bench-window DIRECTORY\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TScratchConfig config;
    QApplication app(argc, argv);
    TApplicationObject application;
    TScriptedDialogs dialogs;
    double seconds = 0;
    int changed = 0;
    {
        TForm1 form(dialogs, application);
        Form1 = &form;
        SetDefaultRules(form);
        form.show();
        QApplication::processEvents();
        dialogs.NextDirectory(QFile::decodeName(argv[1]));
        const auto start = std::chrono::steady_clock::now();
        try {
            form.SpeedButton3Click();
        } catch (const Exception& e) {
            std::fprintf(stderr, "zeroraz-bench-window: %s\n", e.Message().c_str());
            return 1;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "zeroraz-bench-window: %s\n", e.what());
            return 1;
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        changed = ChangedCount;
        if (!dialogs.Errors().isEmpty() || !dialogs.Unexpected().isEmpty()) {
            std::fprintf(stderr, "zeroraz-bench-window: the batch showed a dialog: %s\n",
                         qPrintable((dialogs.Errors() + dialogs.Unexpected()).join(", ")));
            return 1;
        }
        Form1 = nullptr;
    }
    std::printf("batch_seconds=%.6f changed=%d\n", seconds, changed);
    return 0;
}
