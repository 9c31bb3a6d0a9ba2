// CTBException, the one error of the storage layer, and printf-style message helpers.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

namespace kx {

// Raised by the storage layer and by whatever loads through it; a std::exception, so that
// one catch of std::exception at a program's edge reports it like any other failure.
class CTBException : public std::exception {
public:
    enum Kind : uint32_t { kNoError = 0, kMessage = 1, kSystemError = 2 };

    CTBException() = default;
    CTBException(uint32_t kind, std::string text, uint32_t systemErrorCode = 0)
        : kind(kind), text(std::move(text)), systemErrorCode(systemErrorCode) {}

    // The text by kind: "No Error", the message, the system's text for the code, or "###".
    std::string GetErrorText() const;
    // Shows GetErrorText through the installed message-box hook (standard error by default).
    void ReportError(uint32_t styleFlags) const;
    // GetErrorText in UTF-8 (the texts themselves are Windows-1252).
    const char* what() const noexcept override;

    uint32_t kind = kNoError;
    std::string text;
    uint32_t systemErrorCode = 0;

private:
    mutable std::string whatText;
};

// Message-box style flag of ReportError for the error icon.
inline constexpr uint32_t kMessageBoxIconError = 16;

// The front ends install a message box here; headless the text goes to standard error.
using ErrorReportHook = std::function<void(const std::string& text, uint32_t styleFlags)>;
void SetErrorReportHook(ErrorReportHook hook);

// printf-style formatting; on a formatting failure the result is the format text itself.
[[gnu::format(printf, 1, 2)]] std::string FormatString(const char* format, ...);

// Formats the message and throws a CTBException of kind 1 with it.
[[noreturn, gnu::format(printf, 1, 2)]] void RaiseError(const char* format, ...);

} // namespace kx
