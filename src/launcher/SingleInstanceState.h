#pragma once
// The single-instance objects a start holds: the shared block, the first instance's listener, and what a later start
// knows of its first instance. The two locks that keep starts made at nearly the same moment apart are held only by
// the steps that take them.
#include "SingleInstanceBlock.h"
#include "support/UniqueResource.h"

#include <cstdint>
#include <memory>
#include <string>

struct ForwardedStarts;

struct SingleInstanceState {
    std::wstring instanceName;
    UniqueHandle instanceMapping;
    UniqueMappedView instanceBlock;
    uint32_t messageId = 0;
    // Set by the first instance once it has copied the arguments a later start wrote.
    UniqueHandle argumentsRead;

    // First instance: the listener, and what it shares with the request threads it starts.
    UniqueHandle listenerThread;
    std::shared_ptr<ForwardedStarts> forwarded;

    // Later start: the first instance it hands its arguments to.
    UniqueHandle firstProcess;
    UniqueHandle firstListener;
    bool firstClearsTags = false; // it clears this start's tag once it has taken the arguments
    // How often this start has settled its role: a first instance that ends before it took this start's request
    // makes it settle again, a few times at most.
    int rounds = 0;

    InstanceBlock* block() const { return static_cast<InstanceBlock*>(instanceBlock.get()); }
};
