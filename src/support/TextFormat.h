#pragma once
// Fills the string-table formats: "%s" takes a text, "%d" a signed 32-bit number, "%%" is a percent sign.
// Portable: no Windows headers, and no dependence on how a C library reads "%s" in wide formats.
#include <cstdint>
#include <string>
#include <vector>

// The number in decimal, a minus sign before a negative one, at least `digits` digits (zeros in front). Written out
// here rather than by the C library, whose wide formatting is larger than the launcher's whole use of it.
std::wstring decimalText(int64_t number, size_t digits = 1);

struct FormatArgument {
    FormatArgument(const std::wstring& text) : text(text) {}
    FormatArgument(const wchar_t* text) : text(text) {}
    FormatArgument(int32_t number) : text(decimalText(number)) {}
    // Operating-system error codes are printed as signed numbers, so codes above 2147483647 come out negative.
    FormatArgument(uint32_t code) : text(decimalText(static_cast<int32_t>(code))) {}
    FormatArgument(unsigned long code) : FormatArgument(static_cast<uint32_t>(code)) {}
    std::wstring text;
};

// Placeholders without an argument are left empty.
std::wstring formatText(const std::wstring& format, const std::vector<FormatArgument>& arguments);

// A message as one line of a console program's standard error: "program: text" and a line end. The text's line
// breaks, which a message box shows, become single spaces; none is left at its end.
std::wstring errorLine(const std::wstring& program, const std::wstring& text);
