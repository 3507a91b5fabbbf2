#pragma once
// Java installation keys written by a test under HKEY_LOCAL_MACHINE, in the native or the 32-bit view, and
// removed again before and after the test. Every key the fixture creates carries a marker value, so leftovers of
// an interrupted run are recognised and removed while keys that belong to the machine are never touched.
#include "runtime/CandidateOrder.h"
#include "support/Paths.h"
#include "support/UniqueResource.h"

#include <string>
#include <vector>

class RegistryFixture {
public:
    static constexpr REGSAM nativeView = 0;
    static constexpr REGSAM wow32View = KEY_WOW64_32KEY;

    RegistryFixture() { removeMarkedKeys(); }
    ~RegistryFixture() { removeMarkedKeys(); }
    RegistryFixture(const RegistryFixture&) = delete;
    RegistryFixture& operator=(const RegistryFixture&) = delete;

    // Java installations that the machine itself has registered (unmarked subkeys of a vendor key): a test whose
    // result depends on the registry cannot run beside them.
    static bool machineHasRuntimes() {
        for (REGSAM view : {nativeView, wow32View}) {
            for (const VendorKey& vendor : vendorKeys()) {
                for (const std::wstring& name : subkeys(vendor.path, view)) {
                    if (!isMarked(vendor.path + name, view))
                        return true;
                }
            }
        }
        return false;
    }

    // The subkey `name` of a vendor key (its trailing backslash optional), with the value "JavaHome" (a string, or
    // the text stored as `type`) unless javaHome is null.
    bool add(const std::wstring& vendorKey, const std::wstring& name, const wchar_t* javaHome, REGSAM view = nativeView,
             DWORD type = REG_SZ) {
        UniqueRegKey key = createMarked(withTrailingBackslash(vendorKey) + name, view);
        if (!key || javaHome == nullptr)
            return key.valid();
        auto size = DWORD((wcslen(javaHome) + 1) * sizeof(wchar_t));
        auto data = reinterpret_cast<const BYTE*>(javaHome);
        return RegSetValueExW(key.get(), L"JavaHome", 0, type, data, size) == ERROR_SUCCESS;
    }
    bool add(const std::wstring& vendorKey, const std::wstring& name, const std::wstring& javaHome,
             REGSAM view = nativeView, DWORD type = REG_SZ) {
        return add(vendorKey, name, javaHome.c_str(), view, type);
    }

private:
    static UniqueRegKey open(const std::wstring& path, REGSAM view, REGSAM access = KEY_READ) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access | view, &key) != ERROR_SUCCESS)
            return UniqueRegKey();
        return UniqueRegKey(key);
    }

    static bool isMarked(const std::wstring& path, REGSAM view) {
        UniqueRegKey key = open(path, view);
        return key && RegQueryValueExW(key.get(), markerName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    static std::vector<std::wstring> subkeys(const std::wstring& path, REGSAM view) {
        std::vector<std::wstring> names;
        UniqueRegKey key = open(path, view);
        wchar_t name[256];
        DWORD length = 256;
        while (key && RegEnumKeyExW(key.get(), DWORD(names.size()), name, &length, nullptr, nullptr, nullptr,
                                    nullptr) == ERROR_SUCCESS) {
            names.emplace_back(name, length);
            length = 256;
        }
        return names;
    }

    // Creates each missing key of the path in turn, marking the ones it creates; returns the last one.
    static UniqueRegKey createMarked(const std::wstring& path, REGSAM view) {
        for (size_t end = path.find(L'\\');; end = path.find(L'\\', end + 1)) {
            HKEY created = nullptr;
            DWORD disposition = 0;
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.substr(0, end).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                                nullptr, &created, &disposition) != ERROR_SUCCESS)
                return UniqueRegKey();
            UniqueRegKey key(created);
            DWORD one = 1;
            if (disposition == REG_CREATED_NEW_KEY)
                RegSetValueExW(key.get(), markerName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
            if (end == std::wstring::npos)
                return key;
        }
    }

    static void deleteIfMarked(const std::wstring& path, REGSAM view, bool onlyWhenEmpty) {
        if (!isMarked(path, view) || (onlyWhenEmpty && !subkeys(path, view).empty()))
            return;
        RegDeleteTreeW(open(path, view, KEY_ALL_ACCESS).get(), nullptr);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), view, 0);
    }

    // The marked subkeys of each vendor key, then the vendor key and its parent when marked and left empty.
    static void removeMarkedKeys() {
        for (REGSAM view : {nativeView, wow32View}) {
            for (const VendorKey& vendor : vendorKeys()) {
                for (const std::wstring& name : subkeys(vendor.path, view))
                    deleteIfMarked(vendor.path + name, view, false);
                std::wstring key = parentFolder(vendor.path, 1);
                deleteIfMarked(key, view, true);
                deleteIfMarked(parentFolder(key, 1), view, true);
            }
        }
    }

    static constexpr const wchar_t* markerName = L"KoruTestFixture";
};
