#include "text/StringList.h"

#include <climits>
#include <cstring>

#include "platform/Exceptions.h"

void TStringList::ClearLines() {
    FLines.clear();
    FOwned.clear();
    FLoaded = {};
    FTextLength = 0;
    FHeldNul = false;
    FSplit = true;
}

void TStringList::LoadLines(const std::string& path) {
    TFileContent content = ReadWholeFile(path);
    ClearLines();
    FLoaded = std::move(content);
    Index();
}

void TStringList::LoadBytes(std::string bytes) {
    ClearLines();
    FLoaded.Bytes = std::move(bytes);
    Index();
}

void TStringList::Index() {
    const void* nul = std::memchr(FLoaded.Bytes.data(), '\0', FLoaded.Bytes.size());
    FHeldNul = nul != nullptr;
    FTextLength = FHeldNul ? static_cast<std::size_t>(static_cast<const char*>(nul) -
                                                      FLoaded.Bytes.data())
                           : FLoaded.Bytes.size();
    FSplit = FTextLength == 0;
}

std::string_view TStringList::LoadedText() const {
    return std::string_view(FLoaded.Bytes).substr(0, FTextLength);
}

void TStringList::Split() const {
    if (FSplit) {
        return;
    }
    FSplit = true;
    const char* p = FLoaded.Bytes.data();
    const char* const end = p + FTextLength;
    FLines.clear();
    while (p < end) {
        const char* start = p;
        while (p < end && *p != '\n' && *p != '\r') {
            ++p;
        }
        FLines.emplace_back(start, static_cast<std::size_t>(p - start));
        if (p < end && *p == '\r') {
            ++p;
        }
        if (p < end && *p == '\n') {
            ++p;
        }
    }
    if (FLines.size() > static_cast<std::size_t>(INT32_MAX)) {
        throw EStreamError("The list cannot hold more than 2147483647 lines");
    }
}

std::int32_t TStringList::LineCount() const {
    Split();
    return static_cast<std::int32_t>(FLines.size());
}

void TStringList::CheckIndex(std::int32_t index) const {
    Split();
    if (index < 0 || static_cast<std::size_t>(index) >= FLines.size()) {
        throw EStringListError(index);
    }
}

std::string_view TStringList::LineView(std::int32_t index) const {
    CheckIndex(index);
    return FLines[static_cast<std::size_t>(index)];
}

std::string TStringList::GetLine(std::int32_t index) const {
    return std::string(LineView(index));
}

void TStringList::PutLine(std::int32_t index, std::string text) {
    CheckIndex(index);
    FLines[static_cast<std::size_t>(index)] = FOwned.emplace_back(std::move(text));
}

std::string TStringList::Text() const {
    Split();
    std::size_t size = 0;
    for (std::string_view line : FLines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (std::string_view line : FLines) {
        text.append(line);
        text.append("\r\n", 2);
    }
    return text;
}

void TStringList::SaveLines(const std::string& path) const {
    const std::string text = Text();
    WriteFileSafely(path, text, FLoaded.Stamp.Size >= 0 ? &FLoaded : nullptr);
}
