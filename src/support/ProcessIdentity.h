#pragma once
// Who another process is, as far as a single-instance start must know before it trusts it with a user's
// arguments or answers it: this same program, run by this same user.
#include <windows.h>

#include <memory>

// Whether the process (opened with PROCESS_QUERY_LIMITED_INFORMATION) is still running this program's executable
// for this user. False for one that has ended or cannot be looked at.
bool runsThisProgramForThisUser(HANDLE process);

// Whether the kernel object (opened with READ_CONTROL) belongs to this user: its owner is the user, or the owner this
// user's new objects get (an elevated user's objects belong to the administrators).
bool ownedByThisUser(HANDLE object);

// Security attributes that make a new object this user's alone: its owner, and the only one given access. Without
// them a named object gets the defaults, whose owner the system does not always record.
class ThisUserOnly {
public:
    ThisUserOnly();
    ThisUserOnly(const ThisUserOnly&) = delete;
    ThisUserOnly& operator=(const ThisUserOnly&) = delete;

    // Null (the defaults) when the user could not be read.
    SECURITY_ATTRIBUTES* attributes() { return user_ ? &attributes_ : nullptr; }

private:
    std::unique_ptr<unsigned char[]> user_;
    std::unique_ptr<unsigned char[]> acl_;
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
};
