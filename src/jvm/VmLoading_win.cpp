#include "VmLoading.h"

// Loading is not built yet; the start ends as when the library cannot be loaded.
bool loadJavaVmLibrary(Launcher&) { return false; }
