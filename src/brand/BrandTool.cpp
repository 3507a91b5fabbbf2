#include "BrandTool.h"

#include "BrandFiles.h"
#include "Branding.h"
#include "Manifest.h"
#include "SettingsResource.h"
#include "Utf16.h"
#include "VersionInfo.h"

#include <set>

namespace {

const char* const usage =
    "usage: koru-brand [options] <launcher exe> <branded exe>\n"
    "Writes a copy of the launcher with the application's own icon, version information, built-in settings and\n"
    "requested execution level. Options (each also as --name=value):\n"
    "  --icon <file.ico>             the icon, with all its sizes\n"
    "  --file-version <n.n.n.n>      one to four numbers from 0 to 65535 (default: the product version)\n"
    "  --product-version <n.n.n.n>   (default: the file version)\n"
    "  --product-name <text>\n"
    "  --company <text>\n"
    "  --description <text>          what Task Manager shows (default: the product name)\n"
    "  --copyright <text>\n"
    "  --original-filename <text>    (default: the branded exe's file name)\n"
    "  --settings <file.ini>         the built-in settings text (UTF-8, or UTF-16 with a byte-order mark)\n"
    "  --execution-level <level>     asInvoker (default), highestAvailable or requireAdministrator\n";

struct BrandRequest : VersionTexts {
    std::u16string icon;
    std::u16string settings;
    std::u16string executionLevel = u"asInvoker";
    std::vector<std::u16string> files; // the launcher, then the branded copy
};

struct Option {
    const char16_t* name;
    std::u16string BrandRequest::*field;
};

const Option options[] = {
    {u"icon", &BrandRequest::icon},
    {u"file-version", &BrandRequest::fileVersion},
    {u"product-version", &BrandRequest::productVersion},
    {u"product-name", &BrandRequest::productName},
    {u"company", &BrandRequest::companyName},
    {u"description", &BrandRequest::fileDescription},
    {u"copyright", &BrandRequest::legalCopyright},
    {u"original-filename", &BrandRequest::originalFilename},
    {u"settings", &BrandRequest::settings},
    {u"execution-level", &BrandRequest::executionLevel},
};

BrandToolResult refused(const std::string& reason) { return {1, "koru-brand: " + reason + "\n"}; }
BrandToolResult badUsage(const std::string& reason) { return {2, "koru-brand: " + reason + "\n" + usage}; }

std::string quoted(const std::u16string& text) { return "\"" + utf16ToUtf8(text) + "\""; }

// Fills the request from the arguments; a message for the user when they do not make one.
std::string readArguments(const std::vector<std::u16string>& arguments, BrandRequest& request) {
    std::set<std::u16string> given;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (argument.compare(0, 2, u"--") != 0) {
            request.files.push_back(argument);
            continue;
        }
        const size_t equals = argument.find(u'=');
        const std::u16string name = argument.substr(2, equals == std::u16string::npos ? equals : equals - 2);
        const Option* option = nullptr;
        for (const Option& candidate : options)
            option = name == candidate.name ? &candidate : option;
        if (!option)
            return "unknown option " + quoted(argument);
        if (equals == std::u16string::npos && i + 1 == arguments.size())
            return "--" + utf16ToUtf8(name) + " needs a value";
        if (!given.insert(name).second)
            return "--" + utf16ToUtf8(name) + " is given twice";
        request.*option->field = equals == std::u16string::npos ? arguments[++i] : argument.substr(equals + 1);
    }
    return request.files.size() == 2 ? "" : "give the launcher exe and the branded exe, in that order";
}

std::u16string fileNameOf(const std::u16string& path) {
    const size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// The version resource, when any of its texts is given, with the defaults filled in.
std::string versionResource(BrandRequest request, bool dll, Bytes& resource) {
    const VersionTexts& texts = request;
    if (texts.fileVersion.empty() && texts.productVersion.empty() && texts.productName.empty() &&
        texts.companyName.empty() && texts.fileDescription.empty() && texts.legalCopyright.empty() &&
        texts.originalFilename.empty())
        return "";
    if (request.fileVersion.empty() && request.productVersion.empty())
        return "version information needs --file-version or --product-version";
    request.fileVersion = request.fileVersion.empty() ? request.productVersion : request.fileVersion;
    request.productVersion = request.productVersion.empty() ? request.fileVersion : request.productVersion;
    request.fileDescription = request.fileDescription.empty() ? request.productName : request.fileDescription;
    if (request.originalFilename.empty())
        request.originalFilename = fileNameOf(request.files[1]);
    for (const std::u16string* version : {&request.fileVersion, &request.productVersion}) {
        VersionNumber number;
        if (!parseVersionNumber(*version, number))
            return quoted(*version) + " is not a version: give one to four numbers from 0 to 65535, such as 2.1.0.7";
    }
    std::string error;
    return buildVersionResource(request, dll, resource, error) ? "" : error;
}

// Reads an input file and checks its contents; the message names the file.
template <typename Check> bool readChecked(const std::u16string& path, Check check, std::string& error) {
    Bytes contents;
    if (!readWholeFile(path, contents, error)) {
        error = "cannot read " + quoted(path) + ": " + error;
        return false;
    }
    if (check(contents, error))
        return true;
    error = quoted(path) + ": " + error;
    return false;
}

// Reads and checks every input; the branded image, or the reason it cannot be made.
std::string brandedImage(const BrandRequest& request, Bytes& branded) {
    Bytes exe;
    PeImage image;
    Branding branding;
    std::string error;
    auto readImage = [&](const Bytes& contents, std::string& reason) {
        exe = contents;
        return readPeImage(exe, image, reason) || (reason = "not a Windows executable: " + reason, false);
    };
    auto readIcon = [&](const Bytes& contents, std::string& reason) {
        return readIconFile(contents, branding.icon, reason);
    };
    auto readSettings = [&](const Bytes& contents, std::string& reason) {
        return settingsResource(contents, branding.settings, reason);
    };
    if (!readChecked(request.files[0], readImage, error) ||
        (!request.icon.empty() && !readChecked(request.icon, readIcon, error)) ||
        (!request.settings.empty() && !readChecked(request.settings, readSettings, error)))
        return error;
    branding.executionLevel = utf16ToUtf8(request.executionLevel);
    if (!isExecutionLevel(branding.executionLevel))
        return quoted(request.executionLevel) +
               " is not an execution level: give asInvoker, highestAvailable or requireAdministrator";
    error = versionResource(request, image.dll, branding.version);
    if (!error.empty())
        return error;
    if (!brandImage(exe, image, branding, branded, error))
        return quoted(request.files[0]) + ": " + error;
    return "";
}

} // namespace

BrandToolResult runBrandTool(const std::vector<std::u16string>& arguments) {
    for (const std::u16string& argument : arguments) {
        if (argument == u"--help" || argument == u"-h" || argument == u"/?")
            return {0, usage};
    }
    BrandRequest request;
    const std::string usageError = readArguments(arguments, request);
    if (!usageError.empty())
        return badUsage(usageError);
    Bytes branded;
    const std::string error = brandedImage(request, branded);
    if (!error.empty())
        return refused(error);
    std::string writeError;
    if (!replaceFile(request.files[1], branded, writeError))
        return refused("cannot write " + quoted(request.files[1]) + ": " + writeError);
    return {0, ""};
}
