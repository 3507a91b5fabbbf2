#pragma once
// The launcher is built twice, and the two builds hand runtimes to each other: the 64-bit launcher hosts x64
// runtimes and hands x86 ones to its 32-bit companion, the 32-bit launcher the other way round. What differs
// between the two builds is said here once.
// Portable: no Windows headers.
#include "ImageHeader.h"

constexpr bool isThirtyTwoBitBuild = sizeof(void*) == 4;

// The machine of the runtimes that only the companion can load.
constexpr uint16_t companionMachine = isThirtyTwoBitBuild ? machineAmd64 : machineI386;

// The width of those runtimes, and the registry view in which their installers register them, as the trace names them.
constexpr const wchar_t* companionWidth = isThirtyTwoBitBuild ? L"64-bit" : L"32-bit";
constexpr const wchar_t* companionViewName = isThirtyTwoBitBuild ? L"64-bit view" : L"32-bit view";
constexpr const wchar_t* companionRegistryName =
    isThirtyTwoBitBuild ? L"the registry's 64-bit view" : L"the registry's 32-bit view";

// The folder beside the executable that may hold a runtime shipped with the application, named after its width.
constexpr const wchar_t* localRuntimeFolder = isThirtyTwoBitBuild ? L"jre32\\" : L"jre64\\";
