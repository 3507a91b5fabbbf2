#pragma once
// Fills the string-table formats: "%s" takes a text, "%d" a signed 32-bit number, "%%" is a percent sign.
// Portable: no Windows headers, and no dependence on how a C library reads "%s" in wide formats.
#include <cstdint>
#include <string>
#include <vector>

struct FormatArgument {
    FormatArgument(const std::wstring& text) : text(text) {}
    FormatArgument(const wchar_t* text) : text(text) {}
    FormatArgument(int32_t number) : text(std::to_wstring(number)) {}
    // Operating-system error codes are printed as signed numbers, so codes above 2147483647 come out negative.
    FormatArgument(uint32_t code) : text(std::to_wstring(static_cast<int32_t>(code))) {}
    FormatArgument(unsigned long code) : FormatArgument(static_cast<uint32_t>(code)) {}
    std::wstring text;
};

// Placeholders without an argument are left empty.
std::wstring formatText(const std::wstring& format, const std::vector<FormatArgument>& arguments);
