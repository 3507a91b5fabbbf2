#pragma once
// Java installation keys written by a test under HKEY_LOCAL_MACHINE, in the native or the 32-bit view, and
// removed again before and after the test. Every key the fixture creates carries a marker value, so leftovers of
// an interrupted run are recognised and removed while keys that belong to the machine are never touched.
#include <windows.h>

#include <string>
#include <vector>

namespace registry_fixture_detail {

inline const wchar_t* markerName() { return L"KoruTestFixture"; }

inline const std::vector<std::wstring>& parentKeys() {
    static const std::vector<std::wstring> keys = {L"Software\\JavaSoft", L"Software\\JRockit", L"Software\\IBM"};
    return keys;
}

inline const std::vector<std::wstring>& vendorKeys() {
    static const std::vector<std::wstring> keys = {
        L"Software\\JavaSoft\\Java Development Kit", L"Software\\JavaSoft\\Java Runtime Environment",
        L"Software\\JRockit\\Java Runtime Environment", L"Software\\JRockit\\Java Development Kit",
        L"Software\\IBM\\Java2 Runtime Environment"};
    return keys;
}

class Key {
public:
    Key(const std::wstring& path, REGSAM view, REGSAM access = KEY_ALL_ACCESS) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access | view, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~Key() {
        if (key_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

    bool isMarked() const {
        return key_ && RegQueryValueExW(key_, markerName(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
    std::vector<std::wstring> subkeys() const {
        std::vector<std::wstring> names;
        for (DWORD i = 0; key_; ++i) {
            wchar_t name[256];
            DWORD length = 256;
            if (RegEnumKeyExW(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        return names;
    }

private:
    HKEY key_ = nullptr;
};

inline void deleteKeyTree(const std::wstring& path, REGSAM view) {
    {
        Key key(path, view);
        if (key.get())
            RegDeleteTreeW(key.get(), nullptr);
    }
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), view, 0);
}

// Removes the marked subkeys of a key, then the key itself when it is marked and left empty.
inline void removeMarked(const std::wstring& path, REGSAM view) {
    Key key(path, view);
    if (!key.get())
        return;
    for (const std::wstring& name : key.subkeys()) {
        if (Key(path + L"\\" + name, view).isMarked())
            deleteKeyTree(path + L"\\" + name, view);
    }
    if (key.isMarked() && key.subkeys().empty())
        deleteKeyTree(path, view);
}

inline void removeAllMarked() {
    for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_32KEY)}) {
        for (const std::wstring& vendor : vendorKeys())
            removeMarked(vendor, view);
        for (const std::wstring& parent : parentKeys())
            removeMarked(parent, view);
    }
}

// Creates each missing key of the path in turn, marking the ones it creates.
inline bool createMarkedPath(const std::wstring& path, REGSAM view) {
    size_t end = 0;
    while (end != std::wstring::npos) {
        end = path.find(L'\\', end + 1);
        std::wstring part = path.substr(0, end);
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, part.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                            &disposition) != ERROR_SUCCESS)
            return false;
        if (disposition == REG_CREATED_NEW_KEY) {
            DWORD one = 1;
            RegSetValueExW(key, markerName(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
        }
        RegCloseKey(key);
    }
    return true;
}

} // namespace registry_fixture_detail

class RegistryFixture {
public:
    static constexpr REGSAM nativeView = 0;
    static constexpr REGSAM wow32View = KEY_WOW64_32KEY;

    RegistryFixture() { registry_fixture_detail::removeAllMarked(); }
    ~RegistryFixture() { registry_fixture_detail::removeAllMarked(); }
    RegistryFixture(const RegistryFixture&) = delete;
    RegistryFixture& operator=(const RegistryFixture&) = delete;

    // Java installations that the machine itself has registered (unmarked subkeys of a vendor key); tests that
    // count candidates cannot run beside them.
    static bool machineHasRuntimes() {
        using namespace registry_fixture_detail;
        for (REGSAM view : {nativeView, wow32View}) {
            for (const std::wstring& vendor : vendorKeys()) {
                for (const std::wstring& name : Key(vendor, view, KEY_READ).subkeys()) {
                    if (!Key(vendor + L"\\" + name, view, KEY_READ).isMarked())
                        return true;
                }
            }
        }
        return false;
    }

    // vendorKey as the launcher names it ("Software\JavaSoft\Java Runtime Environment\", trailing backslash
    // optional); the subkey is created with the string value "JavaHome" unless javaHome is null.
    bool add(std::wstring vendorKey, const std::wstring& name, const wchar_t* javaHome, REGSAM view = nativeView) {
        if (!vendorKey.empty() && vendorKey.back() == L'\\')
            vendorKey.pop_back();
        std::wstring path = vendorKey + L"\\" + name;
        if (!registry_fixture_detail::createMarkedPath(path, view))
            return false;
        if (!javaHome)
            return true;
        registry_fixture_detail::Key key(path, view);
        DWORD size = static_cast<DWORD>((wcslen(javaHome) + 1) * sizeof(wchar_t));
        return RegSetValueExW(key.get(), L"JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE*>(javaHome), size) ==
               ERROR_SUCCESS;
    }
    bool add(const std::wstring& vendorKey, const std::wstring& name, const std::wstring& javaHome,
             REGSAM view = nativeView) {
        return add(vendorKey, name, javaHome.c_str(), view);
    }
};
