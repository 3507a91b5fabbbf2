#pragma once
// Running a helper program with a time limit; an overrunning child is killed.
#include <chrono>
#include <string>
#include <vector>

struct ChildResult {
    bool started = false;
    bool timedOut = false;
    int exitStatus = -1; // the low 8 bits the shell sees, when the child exited
    int signal = 0;      // the signal that ended it, otherwise 0
};

ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     std::chrono::milliseconds timeout);
