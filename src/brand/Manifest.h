#pragma once
// The execution level an application manifest requests: whether Windows starts the program as its user
// ("asInvoker"), with the most rights the user can give ("highestAvailable"), or only as an administrator
// ("requireAdministrator"). Portable: no Windows headers.
#include <string>

bool isExecutionLevel(const std::string& level);

// Sets the level of the manifest's requestedExecutionLevel element (comments are not elements), or adds a
// trustInfo element that requests it; false with a reason when there is no assembly element to add it to, or a
// trustInfo element without a level that a second one would contradict.
bool setExecutionLevel(std::string& manifest, const std::string& level, std::string& error);

// A manifest that requests the level and nothing else, for an image that has none.
std::string manifestWithLevel(const std::string& level);
