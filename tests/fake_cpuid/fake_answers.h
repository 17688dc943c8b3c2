// Answer sets for the scripted CPUID.dll, as tests write them.
#pragma once

#include <string>
#include <vector>

#include "fake_cpuid.h"

// FAKE_ANSWER_COUNT answers, in FakeAnswer order.
typedef std::vector<unsigned int> Answers;

// Every Enable query answering `each`, GetCPUID answering `signature`.
inline Answers AllAnswers(unsigned int signature, unsigned int each) {
    Answers answers(FAKE_ANSWER_COUNT, each);
    answers[FAKE_GET_CPUID] = signature;
    return answers;
}

inline Answers With(Answers answers, FakeAnswer which, unsigned int value) {
    answers[which] = value;
    return answers;
}

// The line a report must show for these answers, and the queries it must make, written out
// independently of the report's own code.
std::wstring ExpectedLine(const Answers &answers);
std::vector<std::string> ExpectedQueries(const Answers &answers);
