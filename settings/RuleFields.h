#pragma once

#include <array>
#include <string>

// The twelve rule fields Edit1 .. Edit12 of the main window, by number; texts are 8-bit, in
// the user's code page.
class TRuleFields {
public:
    virtual ~TRuleFields() = default;
    virtual std::string GetText(int editNumber) const = 0;
    virtual void SetText(int editNumber, const std::string& text) = 0;
};

// The twelve texts held in memory: Texts[0] is Edit1, Texts[11] is Edit12. A number outside
// 1 .. 12 raises std::out_of_range.
class TRuleFieldTexts : public TRuleFields {
public:
    std::string GetText(int editNumber) const override { return Texts.at(Index(editNumber)); }
    void SetText(int editNumber, const std::string& text) override {
        Texts.at(Index(editNumber)) = text;
    }

    std::array<std::string, 12> Texts;

private:
    static std::size_t Index(int editNumber) { return static_cast<std::size_t>(editNumber - 1); }
};
