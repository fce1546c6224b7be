#include "app/EditRuleFields.h"

#include <stdexcept>

#include <QLineEdit>

#include "platform/CodePage.h"

QLineEdit* TEditRuleFields::Edit(int editNumber) const {
    if (editNumber < 1 || editNumber > 12) {
        throw std::out_of_range("no rule field with that number");
    }
    return FEdits[static_cast<std::size_t>(editNumber - 1)];
}

std::string TEditRuleFields::GetText(int editNumber) const {
    return FCodePage.FromUtf8(Edit(editNumber)->text().toStdString());
}

void TEditRuleFields::SetText(int editNumber, const std::string& text) {
    Edit(editNumber)->setText(QString::fromStdString(FCodePage.ToUtf8(text)));
}
