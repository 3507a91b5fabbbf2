#pragma once
// What two copies of the launcher share in single-instance mode: the names of their kernel objects and the block
// of shared memory, byte for byte. Copies of different builds meet through it, so none of it ever changes.
// Portable: no Windows headers.
#include "support/TextSplit.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Little-endian, 2,092 bytes, no lock of its own.
struct InstanceBlock {
    uint32_t listenerThreadId; // the first instance's listener thread, stored there by CreateThread
    uint32_t processId;        // the first instance
    uint32_t messageId;        // the registered message of the exchange
    char16_t arguments[1040];  // a later start's arguments: each followed by a zero, the list by one more
};
static_assert(offsetof(InstanceBlock, arguments) == 12, "the arguments start at byte 12");
static_assert(sizeof(InstanceBlock) == 2092, "the block is 2,092 bytes");

// A later start writes at most this many bytes of the arguments area, its terminators included.
constexpr size_t forwardedArgumentsLimit = 1040;
// The first instance reads the area up to byte 2,090 of the block at the latest.
constexpr size_t readableArgumentUnits = (2090 - offsetof(InstanceBlock, arguments)) / sizeof(char16_t);

// The executable's full path with every backslash made an underscore: the name of the mapping and of the message.
std::wstring instanceNameFor(const std::wstring& executablePath);

// The first forwardedArgumentsLimit bytes of the area as a later start writes them: zero-filled, each argument's
// UTF-16 units followed by a zero. False when the list needs more room than that.
bool encodeForwardedArguments(const StringList& arguments, std::u16string& area);

// The list as the first instance reads it: text up to each zero is one argument, and a zero right after another
// ends the list. So no arguments arrive as one empty string, and an empty argument ends the list early. Text
// after the last zero within `units` is not an argument.
StringList decodeForwardedArguments(const char16_t* area, size_t units);
