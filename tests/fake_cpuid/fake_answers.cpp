#include "fake_answers.h"

std::wstring ExpectedLine(const Answers &a) {
    static const wchar_t HEX[] = L"0123456789ABCDEF";
    std::wstring text = L"0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += HEX[(a[FAKE_GET_CPUID] >> shift) & 15];
    text += L" ( ";
    const struct {
        bool present;
        const wchar_t *token;
    } tokens[] = {
        {a[FAKE_MMX] != 0, L"MMX "},
        {a[FAKE_3DNOW] != 0, L"3DNow "},
        {a[FAKE_3DNOW_EX] != 0, L"3DNowEx "},
        {a[FAKE_SSE_FIRST] == 0 && a[FAKE_MMX2] != 0, L"MMX2 "},
        {a[FAKE_SSE_SECOND] != 0, L"SSE "},
        {a[FAKE_SSE2] != 0, L"SSE2 "},
        {a[FAKE_SSE3] != 0, L"SSE3 "},
        {a[FAKE_SSSE3] != 0, L"SSSE3 "},
        {a[FAKE_SSE41] != 0, L"SSE4.1 "},
        {a[FAKE_SSE42] != 0, L"SSE4.2 "},
        {a[FAKE_SSE4A] != 0, L"SSE4a "},
    };
    for (const auto &token : tokens)
        if (token.present) text += token.token;
    return text + L")";
}

std::vector<std::string> ExpectedQueries(const Answers &answers) {
    std::vector<std::string> queries;
    for (int query = QUERY_GET_CPUID; query < QUERY_COUNT; ++query) {
        if (query == QUERY_MMX2) continue;
        queries.push_back(FAKE_QUERY_NAMES[query]);
        if (query == QUERY_SSE) {
            if (answers[FAKE_SSE_FIRST] == 0) queries.push_back(FAKE_QUERY_NAMES[QUERY_MMX2]);
            queries.push_back(FAKE_QUERY_NAMES[QUERY_SSE]);
        }
    }
    return queries;
}
