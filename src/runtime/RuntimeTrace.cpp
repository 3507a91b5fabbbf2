#include "RuntimeTrace.h"

#include "support/TextFormat.h"

namespace {

std::wstring boundText(const JavaVersion& version) { return isUnset(version) ? L"any" : formatBound(version); }

const wchar_t* jvmTypeName(JvmType type) {
    switch (type) {
    case JvmType::Server:
        return L"server";
    case JvmType::FavorServer:
        return L"favor_server";
    case JvmType::Default:
        break;
    }
    return L"default";
}

const wchar_t* vendorName(RuntimeVendor vendor) {
    switch (vendor) {
    case RuntimeVendor::JRockit:
        return L"JRockit";
    case RuntimeVendor::Ibm:
        return L"IBM";
    case RuntimeVendor::Sun:
        break;
    }
    return L"Sun";
}

std::wstring flagList(std::initializer_list<std::pair<bool, const wchar_t*>> flags) {
    std::wstring list;
    for (const auto& [set, name] : flags) {
        if (set)
            list += (list.empty() ? L"" : L"+") + std::wstring(name);
    }
    return list.empty() ? L"none" : list;
}

std::wstring joined(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (const std::wstring& item : items)
        text += (text.empty() ? L"" : L";") + item;
    return L"\"" + text + L"\"";
}

} // namespace

std::wstring describePolicy(const RuntimePolicy& policy, const std::wstring& pairProduct) {
    return L"search settings: versions " + boundText(policy.minVersion) + L" to " + boundText(policy.maxVersion) +
           L", preferred " + joined(policy.preferredVersions) + L", JVM type " + jvmTypeName(policy.jvmType) +
           L", wanted kinds " + flagList({{policy.jdkWanted, L"JDK"}, {policy.jreWanted, L"JRE"}}) +
           (policy.favorMode ? L" (others too, after them)" : L" (only)") + L", vendors " +
           flagList({{policy.acceptSun || policy.favorSun, L"Sun"},
                     {policy.acceptJRockit || policy.favorJRockit, L"JRockit"},
                     {policy.acceptIbm || policy.favorIbm, L"IBM"}}) +
           L", favoured " +
           flagList({{policy.favorSun, L"Sun"}, {policy.favorJRockit, L"JRockit"}, {policy.favorIbm, L"IBM"}}) +
           L", JRE Path \"" + policy.jrePath + L"\", Pair Product \"" + pairProduct + L"\"";
}

std::wstring describeCandidate(const JreCandidate& candidate) {
    return format(candidate.version) + (candidate.version.preRelease ? L"-ea" : L"") +
           (candidate.kind == RuntimeKind::Jdk ? L" JDK " : L" JRE ") + vendorName(candidate.vendor) +
           (candidate.isServer ? L" server" : L" client") + (candidate.isFavored ? L" favoured" : L"") + L" in " +
           candidate.home;
}

std::wstring describeFinding(const std::wstring& where, Refusal refusal, const JreCandidate& candidate,
                             const std::wstring& registeredHome) {
    switch (refusal) {
    case Refusal::None:
        return where + L": candidate " + describeCandidate(candidate);
    case Refusal::OutsideBounds:
        return where + L": refused, version " + format(candidate.version) + L" outside the bounds";
    case Refusal::NoHome:
        return where + L": refused, no home folder named";
    case Refusal::NoLibrary:
        return where + L": refused, no jvm.dll for the JVM type below \"" + registeredHome + L"\"";
    case Refusal::OtherView:
        return where + L": refused, its library is built for the other registry view";
    case Refusal::RuledOut:
        return where + L": refused, " + describeCandidate(candidate) +
               L" is of a kind or vendor the settings do not search";
    }
    return where;
}

std::wstring describeOrder(const std::vector<JreCandidate>& ordered) {
    std::wstring text = L"candidates in order:";
    for (size_t i = 0; i < ordered.size(); ++i)
        text += (i == 0 ? L" " : L"; ") + decimalText(i + 1) + L". " + describeCandidate(ordered[i]);
    return text;
}
