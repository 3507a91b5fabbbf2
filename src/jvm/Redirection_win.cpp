#include "Redirection.h"

#include "JavaStreams.h"
#include "support/FileSystem.h"

namespace {

bool redirect(JNIEnv* env, StandardStream which, const std::wstring& path) {
    // A folder that cannot be created shows up as the file stream's own error.
    ensureParentFolders(path);
    return redirectStandardStream(env, which, path);
}

} // namespace

bool redirectStandardOutput(JNIEnv* env, const std::wstring& path) { return redirect(env, StandardStream::Output, path); }

bool redirectStandardError(JNIEnv* env, const std::wstring& path) { return redirect(env, StandardStream::Error, path); }
