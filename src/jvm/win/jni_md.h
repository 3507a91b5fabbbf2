/* Machine-dependent JNI types for Windows, 64-bit and 32-bit. The JDK on this build machine ships only the Linux
 * header, whose jint and jlong are wrong here: on Windows jint is a long (32 bits) and jlong a 64-bit integer. */
#ifndef KORU_JNI_MD_H
#define KORU_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
