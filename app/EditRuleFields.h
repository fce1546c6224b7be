#pragma once

#include <array>

#include "settings/RuleFields.h"

class QLineEdit;
class TCodePage;

// The twelve rule fields of the main window as the settings file sees them: texts cross
// between the fields and the code page here.
class TEditRuleFields : public TRuleFields {
public:
    TEditRuleFields(const std::array<QLineEdit*, 12>& edits, const TCodePage& codePage)
        : FEdits(edits), FCodePage(codePage) {}

    std::string GetText(int editNumber) const override;
    void SetText(int editNumber, const std::string& text) override;

private:
    QLineEdit* Edit(int editNumber) const;

    std::array<QLineEdit*, 12> FEdits;
    const TCodePage& FCodePage;
};
