#include "jvm/JavaCommandLine.h"

#include <gtest/gtest.h>

namespace {

std::wstring joined(const StringList& list) {
    std::wstring text;
    for (const std::wstring& item : list)
        text += (text.empty() ? L"" : L" ") + item;
    return text;
}

// Each row: the tokens, then what the VM gets | the class path values | the module path values | the refused option.
TEST(JavaCommandLine, ParametersAsTheJavaCommandReadsThem) {
    const struct {
        StringList tokens;
        const wchar_t* sorted;
    } rows[] = {
        {{L"--add-opens", L"java.base/java.lang=ALL-UNNAMED", L"-Xmx1g", L"--add-modules=m", L"--enable-native-access",
          L"ALL-UNNAMED"},
         L"--add-opens=java.base/java.lang=ALL-UNNAMED -Xmx1g --add-modules=m --enable-native-access=ALL-UNNAMED|||"},
        {{L"-cp", L"a;b", L"-classpath", L"c", L"--class-path=d", L"-p", L"m", L"--module-path", L"n",
          L"--module-path=o", L"-Dp=1", L"-da", L"--add-opens"},
         L"-Dp=1 -da --add-opens|a;b c d|m n o|"},
        {{L"-Dx", L"-jar", L"app.jar", L"--dry-run"}, L"-Dx app.jar|||-jar"},
        {{L"-splash:s.png", L"@options"}, L"|||-splash:s.png"},
        {{L"@options"}, L"|||@options"},
    };
    for (const auto& row : rows) {
        SortedVmParameters sorted = sortVmParameters(row.tokens);
        EXPECT_EQ(joined(sorted.options) + L"|" + joined(sorted.classPath) + L"|" + joined(sorted.modulePath) + L"|" +
                      sorted.refused,
                  row.sorted);
    }
    EXPECT_EQ(parseMainModule(L"com.example.app").module + L"|" + parseMainModule(L"com.example.app").mainClass + L"|" +
                  parseMainModule(L"m/com.example.App").module + L"|" + parseMainModule(L"m/com.example.App").mainClass,
              L"com.example.app||m|com.example.App");
}

} // namespace
