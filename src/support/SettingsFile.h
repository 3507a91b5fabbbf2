#pragma once
// Where the settings live and how they are read: the file beside the executable, the "+" sections and the
// built-in layer.
#include "BuiltInSettings.h"
#include "SettingsReader.h"
#include "TextSplit.h"

#include <map>
#include <optional>
#include <string>

// The executable's path cut after its last "." and followed by "ini"; empty when the path holds no ".".
std::wstring settingsFilePathFor(const std::wstring& executable);

// The launcher's own settings file. False when the executable's path cannot be read (reported as error 202)
// or holds no ".".
bool settingsFilePath(std::wstring& path);

class PlainSettingsReader : public SettingsReader {
public:
    explicit PlainSettingsReader(std::wstring path);
    std::wstring read(const std::wstring& section, const std::wstring& key) const override;
    void write(const std::wstring& section, const std::wstring& key, const std::wstring& value) const override;

private:
    // Every read opens and parses the file again, so the section names and a section's key names are asked for
    // once, and a key that is not among them reads as empty without a read of its own. A reader serves one task:
    // the next task's reader reads the file afresh.
    const std::optional<StringList>& sectionNames() const;
    const std::optional<StringList>& keyNames(const std::wstring& section) const;
    bool mayHold(const std::wstring& section, const std::wstring& key) const;

    std::wstring path_;
    mutable bool sectionNamesRead_ = false;
    mutable std::optional<StringList> sectionNames_;
    mutable std::map<std::wstring, std::optional<StringList>> keyNames_;
};

class LayeredSettingsReader : public SettingsReader {
public:
    LayeredSettingsReader(std::wstring path, BuiltInSettings builtIn);
    std::wstring read(const std::wstring& section, const std::wstring& key) const override;
    void write(const std::wstring& section, const std::wstring& key, const std::wstring& value) const override;

private:
    PlainSettingsReader file_;
    BuiltInSettings builtIn_;
};

// The built-in settings text carried by the executable (RCDATA), parsed; empty when it carries none.
BuiltInSettings builtInSettingsFromResources();

// A LayeredSettingsReader on the settings file with the executable's built-in layer.
LayeredSettingsReader layeredSettingsReader(const std::wstring& settingsPath);
