#pragma once

#include <array>

#include <QString>

#include "text/Filter.h"
#include "text/Replace.h"

class QLineEdit;
class TCodePage;

// The rule set as the engine takes it: the four pairs and the four filters, converted from
// the twelve edit fields into the code page. Fields are read at every call; a conversion is
// redone only for a field whose text changed.
class TRuleTexts {
public:
    explicit TRuleTexts(const TCodePage& codePage) : FCodePage(codePage) {}

    // Edit fields by number: fields[0] is Edit1, fields[11] is Edit12.
    void Read(const std::array<QLineEdit*, 12>& fields);

    const TReplacePairs& Pairs() const { return FPairs; }
    const TFileFilters& Filters() const { return FFilters; }

private:
    const std::string& Converted(int editNumber, const QString& text);

    const TCodePage& FCodePage;
    std::array<QString, 12> FSource;
    std::array<std::string, 12> FBytes;
    std::array<bool, 12> FValid{};
    TReplacePairs FPairs;
    TFileFilters FFilters;
};
