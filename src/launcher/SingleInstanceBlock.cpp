#include "SingleInstanceBlock.h"

#include "jvm/JavaText.h"

#include <algorithm>
#include <cstring>

std::wstring instanceNameFor(const std::wstring& executablePath) {
    std::wstring name = executablePath;
    std::replace(name.begin(), name.end(), L'\\', L'_');
    return name;
}

bool encodeForwardedArguments(const StringList& arguments, std::u16string& area) {
    std::u16string encoded;
    for (const std::wstring& argument : arguments) {
        encoded += toJavaChars(argument);
        encoded += u'\0';
        if (encoded.size() * sizeof(char16_t) + sizeof(char16_t) > forwardedArgumentsLimit)
            return false;
    }
    encoded.resize(forwardedArgumentsLimit / sizeof(char16_t), u'\0');
    area = std::move(encoded);
    return true;
}

StringList decodeForwardedArguments(const char16_t* area, size_t units) {
    StringList arguments;
    size_t start = 0;
    for (size_t i = 0; i < units; ++i) {
        if (area[i] != u'\0')
            continue;
        if (i > 0 && area[i - 1] == u'\0')
            break;
        arguments.push_back(fromJavaChars(reinterpret_cast<const jchar*>(area + start), i - start));
        start = i + 1;
    }
    return arguments;
}

namespace {

uint32_t* wordAt(InstanceBlock& block, size_t offset) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<unsigned char*>(&block) + offset);
}

} // namespace

uint32_t sharedWord(const InstanceBlock& block, size_t offset) {
    return __atomic_load_n(wordAt(const_cast<InstanceBlock&>(block), offset), __ATOMIC_ACQUIRE);
}

void setSharedWord(InstanceBlock& block, size_t offset, uint32_t value) {
    __atomic_store_n(wordAt(block, offset), value, __ATOMIC_RELEASE);
}

void clearForwardedArguments(InstanceBlock& block) {
    std::fill_n(block.arguments, forwardedArgumentsLimit / sizeof(char16_t), u'\0');
    setSharedWord(block, requesterTagOffset, 0);
}
