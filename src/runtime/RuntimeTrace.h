#pragma once
// The words in which the runtime search explains itself in the trace.
// Portable: no Windows headers.
#include "CandidateOrder.h"

#include <string>
#include <vector>

// The settings that steer the search, as the launcher understood them.
std::wstring describePolicy(const RuntimePolicy& policy, const std::wstring& pairProduct);

// "17.0.2 JDK Sun server favoured in C:\jdk-17\".
std::wstring describeCandidate(const JreCandidate& candidate);

// Why a runtime found at `where` is no candidate, or the candidate it became.
std::wstring describeFinding(const std::wstring& where, Refusal refusal, const JreCandidate& candidate,
                             const std::wstring& registeredHome);

// The candidates in the policy's order, numbered.
std::wstring describeOrder(const std::vector<JreCandidate>& ordered);
