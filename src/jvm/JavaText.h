#pragma once
// Text crossing the JNI boundary. Portable: no Windows headers (wchar_t is UTF-16 on Windows, UTF-32 elsewhere).
#include <jni.h>

#include <cstddef>
#include <string>

// The UTF-16 units of a launcher string, as Java's char[] holds them.
std::u16string toJavaChars(const std::wstring& text);
std::wstring fromJavaChars(const jchar* chars, size_t count);

// Decodes the modified UTF-8 that GetStringUTFChars returns: supplementary characters arrive as two 3-byte
// surrogate sequences and U+0000 as C0 80; a standard UTF-8 decoder would reject or garble both. Malformed
// bytes become U+FFFD.
std::wstring decodeModifiedUtf8(const char* bytes, size_t length);
