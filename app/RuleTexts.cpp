#include "app/RuleTexts.h"

#include <QLineEdit>

#include "platform/CodePage.h"

namespace {
// Search and replacement fields of the four pairs, and the four filter fields, by number.
constexpr int kSearchFields[4] = {1, 4, 6, 8};
constexpr int kReplacementFields[4] = {2, 5, 7, 9};
constexpr int kFilterFields[4] = {3, 10, 11, 12};
} // namespace

const std::string& TRuleTexts::Converted(int editNumber, const QString& text) {
    const auto i = static_cast<std::size_t>(editNumber - 1);
    if (!FValid[i] || FSource[i] != text) {
        FSource[i] = text;
        FBytes[i] = FCodePage.FromUtf8(text.toStdString());
        FValid[i] = true;
    }
    return FBytes[i];
}

void TRuleTexts::Read(const std::array<QLineEdit*, 12>& fields) {
    auto field = [&](int number) -> const std::string& {
        return Converted(number, fields[static_cast<std::size_t>(number - 1)]->text());
    };
    for (std::size_t k = 0; k < 4; ++k) {
        FPairs[k].Search = field(kSearchFields[k]);
        FPairs[k].Replacement = field(kReplacementFields[k]);
        FFilters[k] = field(kFilterFields[k]);
    }
}
