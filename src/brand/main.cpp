// The branding tool's entry: the arguments as UTF-16, whatever the platform gives.
#include "BrandFiles.h"
#include "BrandTool.h"
#include "Utf16.h"

#include <cwchar>

namespace {

int finish(const BrandToolResult& result) {
    printText(result.message, result.exitCode != 0);
    return result.exitCode;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i], argv[i] + std::wcslen(argv[i]));
    return finish(runBrandTool(arguments));
}
#else
int main(int argc, char** argv) {
    std::vector<std::u16string> arguments(argc > 0 ? size_t(argc - 1) : 0);
    for (int i = 1; i < argc; ++i) {
        if (!utf8ToUtf16(argv[i], arguments[i - 1]))
            return finish({2, "koru-brand: argument " + std::to_string(i) + " is not UTF-8\n"});
    }
    return finish(runBrandTool(arguments));
}
#endif
