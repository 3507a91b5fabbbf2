#pragma once
// UTF-8 and UTF-16 for the branding tool, whose texts (arguments, file names, resource strings) are UTF-16 inside
// and UTF-8 on Linux. Portable: no Windows headers.
#include <string>

// Strict: malformed or overlong sequences, surrogate code points and values past U+10FFFF give false, since a
// text that silently turned into replacement characters would end up in the exe.
bool utf8ToUtf16(const std::string& text, std::u16string& result);

// Lone surrogates, which only a broken UTF-16 text holds, become U+FFFD.
std::string utf16ToUtf8(const std::u16string& text);
