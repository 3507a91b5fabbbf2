#pragma once
// The start-up read of the settings file into the launcher, and the one write it ever makes.
#include "Launcher.h"

enum class SettingsResult { Loaded, NoMainClass };

// Fills the launcher from the settings file beside the executable; false (after error 202 or 210) stops the start.
bool loadSettings(Launcher& launcher);

// The same read from a given settings file on behalf of a given executable, without any message.
SettingsResult loadSettingsFrom(Launcher& launcher, const std::wstring& settingsPath, const std::wstring& executable);

// Remembers the runtime folder the user picked as "JRE Path", where the next start will read it.
void rememberRuntime(const Launcher& launcher, const std::wstring& chosenHome);

// "Main Class" as the Java VM looks it up: com.example.App becomes com/example/App.
std::wstring mainClassForJava(const std::wstring& setting);

// <root>\<product name without \?"|><:/*>\<product code>: the product's folder among a user's folders, %APPDATA% for
// the per-user settings, %LOCALAPPDATA% for the class-data archives.
std::wstring perUserFolder(const std::wstring& root, const std::wstring& productName, const std::wstring& productCode);

// %APPDATA%\<product name without \?"|><:/*>\<product code>\<executable name without extension>.ini, the per-user
// copy of the settings that holds the remembered "JRE Path".
std::wstring userSettingsFilePath(const std::wstring& executable, const std::wstring& productName,
                                  const std::wstring& productCode, bool createFolders);

// The per-user copy is used only on the NT family; a 64-bit Windows always is, but the test stays explicit.
bool isNtPlatform();
