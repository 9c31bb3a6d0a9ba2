// CTBException's texts and reporting, and the printf-style message helpers.
#include "Error.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include "TextCodec.h"

namespace kx {
namespace {

ErrorReportHook& ReportHook() {
    static ErrorReportHook hook;
    return hook;
}

std::string FormatStringV(const char* format, va_list args) {
    if (format == nullptr) {
        return std::string();
    }
    try {
        va_list probe;
        va_copy(probe, args);
        const int length = std::vsnprintf(nullptr, 0, format, probe);
        va_end(probe);
        if (length < 0) {
            return format;
        }
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        va_list again;
        va_copy(again, args);
        const int written = std::vsnprintf(buffer.data(), buffer.size(), format, again);
        va_end(again);
        if (written != length) {
            return format;
        }
        return std::string(buffer.data(), static_cast<size_t>(length));
    } catch (...) {
        return format;
    }
}

} // namespace

const char* CTBException::what() const noexcept {
    try {
        whatText = Utf8FromCp1252(GetErrorText());
        return whatText.c_str();
    } catch (...) {
        return "CTBException";
    }
}

std::string CTBException::GetErrorText() const {
    switch (kind) {
    case kNoError:
        return "No Error";
    case kMessage:
        return text;
    case kSystemError: {
        // strerror stands in for the system's message formatter; it cannot fail, but a
        // missing text still gets the formatter-failure form.
        const char* message = std::strerror(static_cast<int>(systemErrorCode));
        if (message == nullptr) {
            return FormatString("#0x%08X (FME:%x)", systemErrorCode, 0u);
        }
        return message;
    }
    default:
        return "###";
    }
}

void CTBException::ReportError(uint32_t styleFlags) const {
    const std::string message = GetErrorText();
    const ErrorReportHook& hook = ReportHook();
    if (hook) {
        hook(message, styleFlags);
        return;
    }
    std::fprintf(stderr, "%s\n", Utf8FromCp1252(message).c_str());
}

void SetErrorReportHook(ErrorReportHook hook) {
    ReportHook() = std::move(hook);
}

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string result = FormatStringV(format, args);
    va_end(args);
    return result;
}

void RaiseError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatStringV(format, args);
    va_end(args);
    throw CTBException(CTBException::kMessage, std::move(message));
}

} // namespace kx
