#pragma once
// The sections of the settings file, as they are spelt there. Portable: no Windows headers.

namespace section {
constexpr const wchar_t* application = L"Application";
constexpr const wchar_t* javaRuntime = L"Java Runtime Environment";
constexpr const wchar_t* classPath = L"Class Path";
constexpr const wchar_t* display = L"Display";
constexpr const wchar_t* productInformation = L"Product Information";
} // namespace section
