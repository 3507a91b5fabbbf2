#pragma once
// The settings text an executable may carry among its own resources. It forms the lowest layer of every
// layered read: a value in the settings file replaces it, a value in a "+" section is appended to it.
// Portable: no Windows headers.
#include <string>
#include <utility>
#include <vector>

struct BuiltInSettings {
    struct Section {
        std::wstring name;
        std::vector<std::pair<std::wstring, std::wstring>> pairs;
    };
    std::vector<Section> sections;

    // Case-sensitive; the first section of that name and its first pair with that key win. Empty when absent.
    std::wstring lookup(const std::wstring& section, const std::wstring& key) const;
};

// Lines end in CR LF; a leading byte-order mark, empty lines, lines without "=" and pairs before the first
// section header are dropped.
BuiltInSettings parseBuiltInSettings(const std::wstring& text);

// One layered read: a value in the file wins; otherwise a "+" section value is appended to the built-in one,
// separated by a space unless it starts with one (so a "+" value alone arrives with one leading space).
std::wstring layeredValue(const std::wstring& builtIn, const std::wstring& fileValue, const std::wstring& plusValue);
