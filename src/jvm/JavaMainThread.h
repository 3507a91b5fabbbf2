#pragma once
// The Java main thread: it creates the VM, calls main and ends with the result the run step turns into an exit code.
#include "JavaLaunch.h"
#include "splash/Splash.h"

// Starts the Java main thread with the configured stack size and waits for it; 0 means success. The own splash is
// closed from that thread once main has returned or thrown.
uint32_t runJavaMainThread(JavaLaunch& java, SplashState& splash);
