#include "JavaCommandLine.h"

#include <string_view>

namespace {

// Names between spaces, so that a name is found only whole.
bool isNamedIn(std::wstring_view names, const std::wstring& name) {
    return names.find(L" " + name + L" ") != std::wstring_view::npos;
}

// Options of the java command itself, named up to a ":" or "=": they choose what the command does (run a jar or a
// module, print a version or help, list or describe modules, pick a VM, show a splash). A VM started in-process
// refuses them, with a reason that no user of a GUI program sees. An argument file (@file) is the command's too.
bool isLauncherOnly(const std::wstring& option) {
    constexpr std::wstring_view names = L" -jar -m --module --dry-run -version --version -showversion --show-version"
                                        L" -fullversion --full-version --list-modules -d --describe-module"
                                        L" --validate-modules -h -help --help -? -X --help-extra --source"
                                        L" --disable-@files -client -server -splash -XshowSettings ";
    return (!option.empty() && option[0] == L'@') || isNamedIn(names, option.substr(0, option.find_first_of(L":=")));
}

enum class ValueGoes { Nowhere, Joined, ClassPath, ModulePath };

// The java command takes the value of these as the next word or after "="; the VM takes only --name=value, and
// neither path option at all: the launcher makes those values part of its own class and module paths.
ValueGoes valueOf(const std::wstring& name) {
    constexpr std::wstring_view joined = L" --add-opens --add-exports --add-reads --add-modules --limit-modules"
                                         L" --patch-module --upgrade-module-path --enable-native-access ";
    if (isNamedIn(joined, name))
        return ValueGoes::Joined;
    if (isNamedIn(L" -cp -classpath --class-path ", name))
        return ValueGoes::ClassPath;
    return isNamedIn(L" -p --module-path ", name) ? ValueGoes::ModulePath : ValueGoes::Nowhere;
}

void addValue(SortedVmParameters& sorted, const std::wstring& name, ValueGoes goes, const std::wstring& value) {
    if (goes == ValueGoes::Joined)
        sorted.options.push_back(name + L"=" + value);
    else
        (goes == ValueGoes::ClassPath ? sorted.classPath : sorted.modulePath).push_back(value);
}

} // namespace

MainModule parseMainModule(const std::wstring& setting) {
    size_t slash = setting.find(L'/');
    if (slash == std::wstring::npos)
        return {setting, {}};
    return {setting.substr(0, slash), setting.substr(slash + 1)};
}

// An option that wants a value and is written last goes to the VM as it stands, which refuses it.
SortedVmParameters sortVmParameters(const StringList& tokens) {
    SortedVmParameters sorted;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::wstring& token = tokens[i];
        if (isLauncherOnly(token)) {
            if (sorted.refused.empty())
                sorted.refused = token;
            continue;
        }
        size_t equals = token.find(L'=');
        std::wstring name = token.substr(0, equals);
        ValueGoes goes = valueOf(name);
        if (goes != ValueGoes::Nowhere && equals != std::wstring::npos)
            addValue(sorted, name, goes, token.substr(equals + 1));
        else if (goes != ValueGoes::Nowhere && i + 1 < tokens.size())
            addValue(sorted, name, goes, tokens[++i]);
        else
            sorted.options.push_back(token);
    }
    return sorted;
}
