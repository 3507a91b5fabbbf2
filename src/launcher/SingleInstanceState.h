#pragma once
// The single-instance objects a start holds: the shared block, the first instance's listener, and the two locks
// that keep starts made at nearly the same moment apart.
#include "SingleInstanceBlock.h"
#include "support/UniqueResource.h"

#include <cstdint>
#include <string>

struct SingleInstanceState {
    std::wstring instanceName;
    UniqueHandle instanceMapping;
    UniqueMappedView instanceBlock;
    uint32_t messageId = 0;
    // Held by a first instance from creating the mapping until its fields are written, and again while it takes
    // them down: a later start waits for it before it reads them.
    UniqueHandle setupLock;
    // Set by the first instance once it has copied the arguments a later start wrote.
    UniqueHandle argumentsRead;

    // First instance.
    UniqueHandle listenerThread;

    // Later start: the arguments lock is held from writing the arguments until they are read, the reply arrives
    // or the first instance ends, so that two later starts never share the arguments area.
    UniqueHandle argumentsLock;
    bool holdsArgumentsLock = false;
    UniqueHandle firstProcess;

    InstanceBlock* block() const { return static_cast<InstanceBlock*>(instanceBlock.get()); }
};
