#include "Redirection.h"

#include "JavaStreams.h"
#include "support/FileSystem.h"

void redirectStandardFiles(JNIEnv* env, const std::wstring& outputFile, const std::wstring& errorFile) {
    // A folder that cannot be created shows up as the file stream's own error.
    for (const std::wstring* file : {&outputFile, &errorFile}) {
        if (!file->empty())
            ensureParentFolders(*file);
    }
    redirectStandardStreams(env, outputFile, errorFile, isSameFile);
}
