#include "platform/Exceptions.h"

namespace {
std::string WithName(std::string_view pattern, std::string_view name) {
    std::string text(pattern);
    text.append(name);
    return text;
}
} // namespace

EFOpenError::EFOpenError(std::string_view fileName)
    : EStreamError(WithName("Cannot open file ", fileName)) {}

EFCreateError::EFCreateError(std::string_view fileName)
    : EStreamError(WithName("Cannot create file ", fileName)) {}

EStringListError::EStringListError(long long index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

EIniFileException::EIniFileException(std::string_view fileName)
    : Exception(WithName("Unable to write to ", fileName)) {}

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text.push_back('.');
    }
    return text;
}
