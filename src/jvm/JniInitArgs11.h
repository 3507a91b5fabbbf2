#pragma once
// The JNI 1.1 initialization record, which current jni.h files no longer declare. Runtimes still fill its
// javaStackSize from JNI_GetDefaultJavaVMInitArgs to tell their default thread stack size.
// Portable: no Windows headers.
#include <jni.h>

#include <cstdarg>
#include <cstdio>

struct JniInitArgs11 {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    jint minHeapSize;
    jint maxHeapSize;
    jint verifyMode;
    char* classpath;
    jint(JNICALL* vfprintf)(FILE* stream, const char* format, va_list arguments);
    void(JNICALL* exit)(jint code);
    void(JNICALL* abort)();
    jint enableClassGC;
    jint enableVerboseGC;
    jint disableAsyncGC;
    jint verbose;
    jboolean debugging;
    jint debugPort;
};
static_assert(sizeof(JniInitArgs11) == (sizeof(void*) == 8 ? 96 : 72),
              "the runtime fills a 96-byte (32-bit: 72) record");
