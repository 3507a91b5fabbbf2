#pragma once
// Detaches a thread that has called into Java on every way out of its routine. Portable: no Windows headers.
#include <jni.h>

// A thread that ends still attached to the VM keeps DestroyJavaVM waiting for it for ever, so failures and C++
// exceptions detach as well. `attached` tells the launcher whether the thread is still attached afterwards.
class JavaThreadAttachment {
public:
    JavaThreadAttachment(JavaVM* vm, bool& attached) : vm_(vm), attached_(attached) {}
    ~JavaThreadAttachment() { detach(); }
    JavaThreadAttachment(const JavaThreadAttachment&) = delete;
    JavaThreadAttachment& operator=(const JavaThreadAttachment&) = delete;

    // True when the thread is detached; the detach is tried once.
    bool detach() {
        if (vm_ != nullptr) {
            attached_ = vm_->DetachCurrentThread() != JNI_OK;
            vm_ = nullptr;
        }
        return !attached_;
    }

private:
    JavaVM* vm_;
    bool& attached_;
};
