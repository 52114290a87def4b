#pragma once
// The errors that handlers raise. An error travels up to the message loop (or to the barrier
// of whatever Win32 callback it happened in), which shows its message and goes on.
#include <stdexcept>
#include <string>

namespace fw {

class Error : public std::runtime_error {
public:
    explicit Error(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

// The system ran out of something: handles, timers, memory for a bitmap.
class OutOfResources : public Error {
public:
    // "Out of system resources", what most of them say.
    OutOfResources();
    using Error::Error;
};

// Creating or writing a file failed.
class FileError : public Error {
public:
    using Error::Error;
};

// Formats a message with one %s argument (the only form the program's messages use).
std::wstring FormatMessage1(std::wstring_view pattern, std::wstring_view arg);

// Narrow (UTF-8) form of a wide text, for std::exception::what().
std::string Utf8(std::wstring_view text);
std::wstring Widen(std::string_view utf8);

}  // namespace fw
