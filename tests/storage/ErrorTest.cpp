// CTBException's texts and reporting, message formatting and the code page conversion.
#include <cerrno>
#include <cstring>
#include <exception>
#include <string>

#include <gtest/gtest.h>

#include "storage/Error.h"
#include "storage/TextCodec.h"

using namespace kx;

TEST(ErrorText, EachKindHasItsText) {
    EXPECT_EQ(CTBException().GetErrorText(), "No Error");
    EXPECT_EQ(CTBException(CTBException::kMessage, "boom").GetErrorText(), "boom");
    EXPECT_EQ(CTBException(CTBException::kSystemError, "", ENOENT).GetErrorText(),
              std::strerror(ENOENT));
    EXPECT_EQ(CTBException(3, "ignored").GetErrorText(), "###");
    EXPECT_EQ(CTBException(0xFFFFFFFFu, "").GetErrorText(), "###");
}

TEST(ErrorRaise, RaiseErrorThrowsKindOneWithTheFormattedText) {
    try {
        RaiseError("Failed to allocate %u bytes.", 4294967295u);
        FAIL() << "no exception";
    } catch (const CTBException& e) {
        EXPECT_EQ(e.kind, CTBException::kMessage);
        EXPECT_EQ(e.text, "Failed to allocate 4294967295 bytes.");
        EXPECT_EQ(e.systemErrorCode, 0u);
    }
}

TEST(ErrorRaise, ARaisedErrorIsCaughtAsAStdExceptionWithItsTextInUtf8) {
    try {
        RaiseError("%s", T("Datei \"Grün.txt\" fehlt.").c_str());
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Datei \"Grün.txt\" fehlt.");
    }
    EXPECT_STREQ(CTBException(CTBException::kSystemError, "", ENOENT).what(),
                 std::strerror(ENOENT));
}

TEST(ErrorRaise, UnformattableTextFallsBackToTheFormatItself) {
    // In the C locale a wide character outside ASCII cannot be converted, so the
    // formatter fails.
    const wchar_t wide[] = {0x20AC, 0};
    EXPECT_EQ(FormatString("x%lsy", wide), "x%lsy");
    try {
        RaiseError("Euro %ls", wide);
        FAIL() << "no exception";
    } catch (const CTBException& e) {
        EXPECT_EQ(e.text, "Euro %ls");
    }
}

TEST(ErrorRaise, FormatStringHandlesLongResults) {
    const std::string long_text(5000, 'q');
    EXPECT_EQ(FormatString("<%s>%d", long_text.c_str(), -3), "<" + long_text + ">-3");
    EXPECT_EQ(FormatString("%08X", 0xABCu), "00000ABC");
}

TEST(ErrorReport, ReportGoesThroughTheInstalledHook) {
    std::string seen;
    uint32_t flags = 0;
    SetErrorReportHook([&](const std::string& text, uint32_t style) {
        seen = text;
        flags = style;
    });
    CTBException(CTBException::kMessage, "kaputt").ReportError(kMessageBoxIconError);
    SetErrorReportHook(nullptr);
    EXPECT_EQ(seen, "kaputt");
    EXPECT_EQ(flags, 16u);
}

TEST(ErrorReport, WithoutAHookTheTextGoesToStandardError) {
    testing::internal::CaptureStderr();
    CTBException(CTBException::kMessage, T("geöffnet")).ReportError(kMessageBoxIconError);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "geöffnet\n");
}

TEST(TextCodec, GermanLettersBecomeSingleBytes) {
    EXPECT_EQ(T("geöffnet"), "ge\xF6"
                             "ffnet");
    EXPECT_EQ(T("ÄÖÜäöüß"), "\xC4\xD6\xDC\xE4\xF6\xFC\xDF");
}

TEST(TextCodec, WindowsSpecialsMapBothWays) {
    EXPECT_EQ(T("€„…‚"), "\x80\x84\x85\x82");
    EXPECT_EQ(T("ŸŽž™—"), "\x9F\x8E\x9E\x99\x97");
    EXPECT_EQ(Utf8FromCp1252("\x80\x84\x85\x82"), "€„…‚");
    for (int code = 0; code < 256; ++code) {
        if (code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D) {
            continue;
        }
        const std::string byte(1, static_cast<char>(code));
        EXPECT_EQ(Cp1252FromUtf8(Utf8FromCp1252(byte)), byte) << code;
    }
}

TEST(TextCodec, UndefinedAndUnmappableCharactersAreReplaced) {
    EXPECT_EQ(Utf8FromCp1252("\x81\x8D\x8F\x90\x9D"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Cp1252FromUtf8("a→b😀"), "a?b?");
    // Broken UTF-8: a lone continuation byte, a truncated sequence, an overlong form.
    EXPECT_EQ(Cp1252FromUtf8("\x80x\xC3"), "?x?");
    EXPECT_EQ(Cp1252FromUtf8("\xC0\xAF"), "??");
}
