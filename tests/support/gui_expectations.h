// Expectations shared by the tests that drive the real program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "fake_answers.h"
#include "program_driver.h"

// A common processor: MMX, SSE and SSE2.
extern const Answers TYPICAL;

// Every report from the given one on is one whole, well-ordered block of queries.
void ExpectWellFormedReports(const ProgramRun &run, const Answers &answers, size_t from = 0);

// The client area shows exactly the line, drawn at 0, 0 in the default font, and nothing else,
// from the given row down.
void ExpectPaintedLine(HWND window, const std::wstring &line, int fromRow = 0);
