#pragma once

#include <utility>

#include "widgets/Dialogs.h"

class QWidget;

// Shows the exception being handled in the standard error box through dialogs: EAbort
// silently ends here; an Exception shows its message (converted from the locale's code
// page); std::bad_alloc shows "Out of memory"; any other std::exception its what(); anything
// else "Unexpected failure". Call only inside a catch block. Never throws.
void ShowCurrentFailure(TDialogs& dialogs, QWidget* parent) noexcept;

// Runs body so that no exception leaves it: every failure ends in ShowCurrentFailure.
// Every handler bound to a Qt signal runs inside it. Answers whether body ran to its end.
template <class F> bool Guarded(TDialogs& dialogs, QWidget* parent, F&& body) noexcept {
    try {
        std::forward<F>(body)();
        return true;
    } catch (...) {
        ShowCurrentFailure(dialogs, parent);
        return false;
    }
}
