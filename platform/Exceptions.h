#pragma once

#include <exception>
#include <string>
#include <string_view>

// The failure classes of the system. Every class carries a fixed message into which a
// file name or an index is inserted; callers show or swallow them, never rewrite them.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// A silent failure: it unwinds like any other but no error box shows it.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(std::string_view fileName);
};

class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(std::string_view fileName);
};

class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EFilerError {
public:
    EWriteError() : EFilerError("Stream write error") {}
};

class EStringListError : public Exception {
public:
    explicit EStringListError(long long index);
};

class EIniFileException : public Exception {
public:
    explicit EIniFileException(std::string_view fileName);
};

// Formats a message the way the standard error box shows it: a full stop is appended
// unless the message already ends in "." or in a byte whose code is below it.
std::string ErrorBoxText(std::string_view message);
