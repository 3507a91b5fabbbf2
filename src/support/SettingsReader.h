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

// A key that holds one value (a name, a path, a version, a type, a flag). A value that comes from a "+" section
// alone arrives with the space that separates appended values in front; here it goes.
inline std::wstring readSingleValue(const SettingsReader& reader, const std::wstring& section,
                                    const std::wstring& key) {
    std::wstring value = reader.read(section, key);
    return value.erase(0, value.find_first_not_of(L' '));
}
