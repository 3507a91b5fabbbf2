#include "ErrorOwner.h"

std::atomic<HWND> splashWindowHandle{nullptr};
