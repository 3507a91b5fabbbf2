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

// Past the bytes a later start writes, two words that copies of older builds neither write nor read (their lists
// always end before): the thread id of the later start whose arguments are in the area, and the process id of a
// first instance that clears that tag with the arguments once it has taken them. A request whose tag is still there
// when that first instance has stopped was never taken; an area without a tag is an older build's.
constexpr size_t requesterTagOffset = offsetof(InstanceBlock, arguments) + forwardedArgumentsLimit;
constexpr size_t tagClearerOffset = requesterTagOffset + sizeof(uint32_t);

static_assert(tagClearerOffset % sizeof(uint32_t) == 0 && tagClearerOffset < 2088, "words past what is written");

// The mark (lParam) of a reply that tells a later start of this build that its request never reached Java, as the
// first instance was ending: the start settles its role again. Older builds read only the reply value, -1.
constexpr int requestNotTaken = 1;

// A word of the block that another process may be writing at the same moment.
uint32_t sharedWord(const InstanceBlock& block, size_t offset);
void setSharedWord(InstanceBlock& block, size_t offset, uint32_t value);

// Empties the area as a later start leaves it after its request has been taken: arguments and tag.
void clearForwardedArguments(InstanceBlock& block);

// The executable's full path with every backslash made an underscore: the name of the mapping and of the message.
std::wstring instanceNameFor(const std::wstring& executablePath);

// The first forwardedArgumentsLimit bytes of the area as a later start writes them: zero-filled, each argument's
// UTF-16 units followed by a zero. False when the list needs more room than that.
bool encodeForwardedArguments(const StringList& arguments, std::u16string& area);

// The list as the first instance reads it: text up to each zero is one argument, and a zero right after another
// ends the list. So no arguments arrive as one empty string, and an empty argument ends the list early. Text
// after the last zero within `units` is not an argument.
StringList decodeForwardedArguments(const char16_t* area, size_t units);
