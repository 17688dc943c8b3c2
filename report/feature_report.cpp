#include "feature_report.h"

namespace {

const WCHAR TOKEN_MMX[] = L"MMX ";
const WCHAR TOKEN_3DNOW[] = L"3DNow ";
const WCHAR TOKEN_3DNOW_EX[] = L"3DNowEx ";
const WCHAR TOKEN_MMX2[] = L"MMX2 ";
const WCHAR TOKEN_SSE[] = L"SSE ";
const WCHAR TOKEN_SSE2[] = L"SSE2 ";
const WCHAR TOKEN_SSE3[] = L"SSE3 ";
const WCHAR TOKEN_SSSE3[] = L"SSSE3 ";
const WCHAR TOKEN_SSE41[] = L"SSE4.1 ";
const WCHAR TOKEN_SSE42[] = L"SSE4.2 ";
const WCHAR TOKEN_SSE4A[] = L"SSE4a ";

} // namespace

void FormatFeatureReport(LPWSTR report) {
    wsprintfW(report, L"0x%08X ( ", GetCPUID());
    if (EnableMMX()) lstrcatW(report, TOKEN_MMX);
    if (Enable3DNow()) lstrcatW(report, TOKEN_3DNOW);
    if (Enable3DNowEx()) lstrcatW(report, TOKEN_3DNOW_EX);
    // The MMX extensions are named only when the first SSE answer is absent; EnableMMX2 is not
    // asked at all otherwise.
    if (!EnableSSE() && EnableMMX2()) lstrcatW(report, TOKEN_MMX2);
    // The second SSE answer, asked anew, decides the SSE token.
    if (EnableSSE()) lstrcatW(report, TOKEN_SSE);
    if (EnableSSE2()) lstrcatW(report, TOKEN_SSE2);
    if (EnableSSE3()) lstrcatW(report, TOKEN_SSE3);
    if (EnableSSSE3()) lstrcatW(report, TOKEN_SSSE3);
    if (EnableSSE41()) lstrcatW(report, TOKEN_SSE41);
    if (EnableSSE42()) lstrcatW(report, TOKEN_SSE42);
    if (EnableSSE4a()) lstrcatW(report, TOKEN_SSE4A);
    lstrcatW(report, L")");
}
