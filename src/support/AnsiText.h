#pragma once
// Text in the thread's ANSI code page, as the Java VM's options and the runtime's 8-bit calls take it.
#include <string>

// Characters the code page cannot represent become its default character.
std::string toThreadAnsi(const std::wstring& text);
std::wstring fromThreadAnsi(const std::string& text);

// The path as 8-bit calls take it. A path the code page cannot hold is given in its short (8.3) form when that
// converts without loss; false when no form does (the short form needs an existing file or folder).
bool eightBitPath(const std::wstring& path, std::string& eightBit);
