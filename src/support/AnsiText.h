#pragma once
// Text in 8-bit code pages: the thread's ANSI code page, as the Java VM's options and the runtime's 8-bit calls take
// it, and the others the launcher writes or reads (UTF-8, the console's).
#include <string>

// Characters the code page cannot represent become its default character.
std::string toCodePage(unsigned codePage, const std::wstring& text);
std::wstring fromCodePage(unsigned codePage, const std::string& text);
std::string toThreadAnsi(const std::wstring& text);
std::wstring fromThreadAnsi(const std::string& text);

// The short (8.3) form of a path; empty when the file does not exist or the call fails (a volume that keeps no
// short names gives the long name back).
std::wstring shortPathOf(const std::wstring& path);

// The path as 8-bit calls take it. A path the code page cannot hold is given in its short (8.3) form when that
// converts without loss; false when no form does (the short form needs an existing file or folder).
bool eightBitPath(const std::wstring& path, std::string& eightBit);
