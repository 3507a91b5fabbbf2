// Reading the behaviour a test chose through KORU_STANDIN_SCRIPT.
#include "StandIn.h"

#include <windows.h>

#include <cstdlib>

namespace standin {
namespace {

std::vector<std::u16string> split(const std::u16string& text, char16_t separator) {
    std::vector<std::u16string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
        if (end == std::u16string::npos)
            return parts;
        start = end + 1;
    }
}

bool startsWith(const std::u16string& text, const std::u16string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

long number(const std::u16string& text) { return std::strtol(toUtf8(text).c_str(), nullptr, 0); }

std::string slashed(std::string name) {
    for (char& c : name)
        if (c == '.')
            c = '/';
    return name;
}

MainAction parseAction(const std::u16string& action) {
    MainAction result;
    if (startsWith(action, u"print:")) {
        result.kind = MainAction::Print;
        result.text = action.substr(6);
    } else if (startsWith(action, u"eprint:")) {
        result.kind = MainAction::ErrorPrint;
        result.text = action.substr(7);
    } else if (startsWith(action, u"throw:")) {
        result.kind = MainAction::Throw;
        size_t colon = action.find(u':', 6);
        result.className = slashed(toUtf8(action.substr(6, colon == std::u16string::npos ? colon : colon - 6)));
        result.text = colon == std::u16string::npos ? std::u16string() : action.substr(colon + 1);
    } else if (startsWith(action, u"exit:")) {
        result.kind = MainAction::Exit;
        result.number = number(action.substr(5));
    } else if (startsWith(action, u"sleep:")) {
        result.kind = MainAction::Sleep;
        result.number = number(action.substr(6));
    }
    return result;
}

void parseSecondary(Script& script, const std::u16string& value) {
    if (value == u"void")
        script.secondary = Script::Void;
    else if (startsWith(value, u"int:")) {
        script.secondary = Script::Int;
        script.secondaryResult = number(value.substr(4));
    } else
        script.secondary = Script::None;
}

void parseValueDirective(Script& script, const std::u16string& name, const std::u16string& value) {
    if (name == u"create") {
        script.hasCreateResult = true;
        script.createResult = number(value);
    } else if (name == u"main") {
        for (const auto& action : split(value, u','))
            script.mainActions.push_back(parseAction(action));
    } else if (name == u"linger")
        script.lingerMs = number(value);
    else if (name == u"default-stack")
        script.defaultStack = number(value);
    else if (name == u"secondary")
        parseSecondary(script, value);
    else if (name == u"attach") {
        script.hasAttachResult = true;
        script.attachResult = number(value);
    } else if (name == u"detach") {
        script.hasDetachResult = true;
        script.detachResult = number(value);
    }
}

void parseDirective(Script& script, const std::u16string& directive) {
    size_t equals = directive.find(u'=');
    if (equals != std::u16string::npos)
        return parseValueDirective(script, directive.substr(0, equals), directive.substr(equals + 1));
    if (directive == u"reject-unknown")
        script.rejectUnknown = true;
    else if (directive == u"class-missing")
        script.classMissing = true;
    else if (directive == u"string-missing")
        script.stringMissing = true;
    else if (directive == u"no-main")
        script.noMain = true;
    else if (directive == u"no-main-silent")
        script.noMainSilent = true;
}

} // namespace

Script parseScript(const std::u16string& text) {
    Script script;
    for (const auto& directive : split(text, u';'))
        parseDirective(script, directive);
    return script;
}

Script currentScript() {
    std::wstring buffer(32768, L'\0');
    DWORD length = GetEnvironmentVariableW(L"KORU_STANDIN_SCRIPT", buffer.data(), 32768);
    if (length == 0 || length >= 32768)
        return Script();
    return parseScript(std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length));
}

} // namespace standin
