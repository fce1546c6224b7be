#include "widgets/Guard.h"

#include <exception>
#include <new>
#include <string>

#include <QString>

#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace {
QString FromCodePage(const std::string& text) {
    return QString::fromStdString(TCodePage::FromLocale().ToUtf8(text));
}
} // namespace

void ShowCurrentFailure(TDialogs& dialogs, QWidget* parent) noexcept {
    if (!std::current_exception()) {
        return;
    }
    try {
        QString message;
        try {
            throw;
        } catch (const EAbort&) {
            return;
        } catch (const Exception& failure) {
            message = FromCodePage(failure.Message());
        } catch (const std::bad_alloc&) {
            message = QStringLiteral("Out of memory");
        } catch (const std::exception& failure) {
            message = FromCodePage(failure.what());
        } catch (...) {
            message = QStringLiteral("Unexpected failure");
        }
        dialogs.Error(parent, message);
    } catch (...) {
        // Showing the failure failed too (memory exhausted): nothing is left to tell it with.
    }
}
