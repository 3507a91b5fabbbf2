#pragma once
// A reader bound to one settings file. Each task that reads settings makes its own, so the file is read
// afresh every time. Portable: no Windows headers.
#include <string>

class SettingsReader {
public:
    virtual ~SettingsReader() = default;
    // An absent key reads as empty. Section and key names match whatever their letter case.
    virtual std::wstring read(const std::wstring& section, const std::wstring& key) const = 0;
    virtual void write(const std::wstring& section, const std::wstring& key, const std::wstring& value) const = 0;
};
