#include "ProcessIdentity.h"

#include "GrowingBuffer.h"
#include "UniqueResource.h"

#include <aclapi.h>

#include <memory>
#include <string>

namespace {

struct LocalMemoryTraits {
    static void* invalid() { return nullptr; }
    static void close(void* memory) { LocalFree(memory); }
};
using UniqueLocalMemory = UniqueResource<void*, LocalMemoryTraits>;

// A token's record of one kind (TokenUser, TokenOwner), whose first member is the SID it names.
std::unique_ptr<unsigned char[]> tokenRecord(HANDLE process, TOKEN_INFORMATION_CLASS kind) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return nullptr;
    UniqueHandle owner(token);
    DWORD size = 0;
    GetTokenInformation(token, kind, nullptr, 0, &size);
    if (size == 0 || size > 4096)
        return nullptr;
    auto record = std::make_unique<unsigned char[]>(size);
    if (!GetTokenInformation(token, kind, record.get(), size, &size))
        return nullptr;
    return record;
}

PSID sidOf(const std::unique_ptr<unsigned char[]>& record) {
    return record ? *reinterpret_cast<PSID*>(record.get()) : nullptr;
}

bool sameSid(PSID one, PSID other) { return one && other && EqualSid(one, other); }

std::wstring imagePath(HANDLE process) {
    std::wstring path;
    auto fill = [process](wchar_t* buffer, size_t capacity) -> size_t {
        DWORD length = static_cast<DWORD>(capacity);
        if (QueryFullProcessImageNameW(process, 0, buffer, &length))
            return length;
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? capacity : bufferCallFailed;
    };
    return readGrowingBuffer(path, fill, MAX_PATH) ? path : std::wstring();
}

bool samePath(const std::wstring& one, const std::wstring& other) {
    return !one.empty() && CompareStringOrdinal(one.c_str(), static_cast<int>(one.size()), other.c_str(),
                                                static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

bool runsThisProgramForThisUser(HANDLE process) {
    if (!process || WaitForSingleObject(process, 0) != WAIT_TIMEOUT)
        return false;
    return samePath(imagePath(process), imagePath(GetCurrentProcess())) &&
           sameSid(sidOf(tokenRecord(process, TokenUser)), sidOf(tokenRecord(GetCurrentProcess(), TokenUser)));
}

bool ownedByThisUser(HANDLE object) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    UniqueLocalMemory descriptorOwner(descriptor);
    return sameSid(owner, sidOf(tokenRecord(GetCurrentProcess(), TokenUser))) ||
           sameSid(owner, sidOf(tokenRecord(GetCurrentProcess(), TokenOwner)));
}

ThisUserOnly::ThisUserOnly() {
    std::unique_ptr<unsigned char[]> user = tokenRecord(GetCurrentProcess(), TokenUser);
    PSID sid = sidOf(user);
    if (!sid)
        return;
    DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid);
    acl_ = std::make_unique<unsigned char[]>(aclSize);
    auto* acl = reinterpret_cast<PACL>(acl_.get());
    if (!InitializeAcl(acl, aclSize, ACL_REVISION) || !AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorOwner(&descriptor_, sid, FALSE) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE))
        return;
    attributes_ = {sizeof(attributes_), &descriptor_, FALSE};
    user_ = std::move(user);
}
