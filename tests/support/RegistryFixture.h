#pragma once
// Java installation keys written by a test under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, in the native or the
// companion's view, and removed again before and after the test. Every key the fixture creates carries a marker value,
// so leftovers of an interrupted run are recognised and removed while keys that belong to the machine are never
// touched. JAVA_HOME, the last place the launcher looks, is cleared for the fixture's life.
#include "TestProcess.h"
#include "runtime/CandidateOrder.h"
#include "runtime/CompanionWidth.h"
#include "runtime/InstallerKeys.h"
#include "support/Paths.h"
#include "support/UniqueResource.h"

#include <string>
#include <vector>

class RegistryFixture {
public:
    static constexpr REGSAM nativeView = 0;
    static constexpr REGSAM companionView = isThirtyTwoBitBuild ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

    RegistryFixture() { removeMarkedKeys(); }
    ~RegistryFixture() { removeMarkedKeys(); }
    RegistryFixture(const RegistryFixture&) = delete;
    RegistryFixture& operator=(const RegistryFixture&) = delete;

    // Java installations that the machine itself has registered (unmarked subkeys of a searched key): a test whose
    // result depends on the registry cannot run beside them.
    static bool machineHasRuntimes() {
        bool found = false;
        forEachSearchedKey([&found](HKEY root, const std::wstring& path, REGSAM view) {
            for (const std::wstring& name : subkeys(root, path, view))
                found = found || !isMarked(root, path + name, view);
        });
        return found;
    }

    // The subkey `name` of a vendor key (its trailing backslash optional), with the value "JavaHome" (a string, or
    // the text stored as `type`).
    bool add(const std::wstring& vendorKey, const std::wstring& name, const std::wstring& javaHome,
             REGSAM view = nativeView, DWORD type = REG_SZ) {
        return addValue(HKEY_LOCAL_MACHINE, withTrailingBackslash(vendorKey) + name, L"JavaHome", javaHome, view, type);
    }

    // The key at `path` below the root, as today's installers write it, with the value `valueName` (a string, or the
    // text stored as `type`).
    bool addValue(HKEY root, const std::wstring& path, const wchar_t* valueName, const std::wstring& value,
                  REGSAM view = nativeView, DWORD type = REG_SZ) {
        UniqueRegKey key = createMarked(root, path, view);
        auto size = DWORD((value.size() + 1) * sizeof(wchar_t));
        auto data = reinterpret_cast<const BYTE*>(value.c_str());
        return key && RegSetValueExW(key.get(), valueName, 0, type, data, size) == ERROR_SUCCESS;
    }

private:
    // The keys searched for runtimes, in both views: the vendor keys under HKEY_LOCAL_MACHINE, the installer keys
    // under both hives.
    template <typename Visit> static void forEachSearchedKey(Visit visit) {
        for (REGSAM view : {nativeView, companionView}) {
            for (const VendorKey& vendor : vendorKeys())
                visit(HKEY_LOCAL_MACHINE, vendor.path, view);
            for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
                for (const InstallerKey& installer : installerKeys())
                    visit(root, installer.path, view);
            }
        }
    }

    static UniqueRegKey open(HKEY root, const std::wstring& path, REGSAM view, REGSAM access = KEY_READ) {
        HKEY key = nullptr; // unchanged unless the call succeeds
        RegOpenKeyExW(root, path.c_str(), 0, access | view, &key);
        return UniqueRegKey(key);
    }

    static bool isMarked(HKEY root, const std::wstring& path, REGSAM view) {
        UniqueRegKey key = open(root, path, view);
        return key && RegQueryValueExW(key.get(), markerName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    static std::vector<std::wstring> subkeys(HKEY root, const std::wstring& path, REGSAM view) {
        std::vector<std::wstring> names;
        UniqueRegKey key = open(root, path, view);
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
    static UniqueRegKey createMarked(HKEY root, const std::wstring& path, REGSAM view) {
        for (size_t end = path.find(L'\\');; end = path.find(L'\\', end + 1)) {
            HKEY created = nullptr;
            DWORD disposition = 0;
            if (RegCreateKeyExW(root, path.substr(0, end).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                &created, &disposition) != ERROR_SUCCESS)
                return UniqueRegKey();
            UniqueRegKey key(created);
            DWORD one = 1;
            if (disposition == REG_CREATED_NEW_KEY)
                RegSetValueExW(key.get(), markerName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
            if (end == std::wstring::npos)
                return key;
        }
    }

    static void deleteIfMarked(HKEY root, const std::wstring& path, REGSAM view, bool onlyWhenEmpty) {
        if (!isMarked(root, path, view) || (onlyWhenEmpty && !subkeys(root, path, view).empty()))
            return;
        RegDeleteTreeW(open(root, path, view, KEY_ALL_ACCESS).get(), nullptr);
        RegDeleteKeyExW(root, path.c_str(), view, 0);
    }

    // The marked subkeys of each searched key, then the key and its parents when marked and left empty.
    static void removeMarkedKeys() {
        forEachSearchedKey([](HKEY root, const std::wstring& path, REGSAM view) {
            for (const std::wstring& name : subkeys(root, path, view))
                deleteIfMarked(root, path + name, view, false);
            for (std::wstring key = parentFolder(path, 1); key.find(L'\\') != std::wstring::npos;
                 key = parentFolder(key, 1))
                deleteIfMarked(root, key, view, true);
        });
    }

    static constexpr const wchar_t* markerName = L"KoruTestFixture";
    ScopedEnvironment noJavaHome_{L"JAVA_HOME", L""};
};
