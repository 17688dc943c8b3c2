// The entry's reading of the command line: what wWinMain receives after the program's name.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "shell.h"

namespace {

struct CommandLineCase {
    const wchar_t *line, *rest;
};

TEST(CommandLine, RestAfterTheProgramsNameAndTheBlanksThatFollowIt) {
    const CommandLineCase cases[] = {
        {L"kalvora.exe", L""},
        {L"", L""},
        {L"kalvora.exe -x", L"-x"},
        {L"kalvora.exe \t  -x  y ", L"-x  y "},
        {L"\"C:\\Program Files\\kalvora.exe\" -x", L"-x"},
        {L"\"C:\\Program Files\\kalvora.exe\"", L""},
        {L"\"C:\\Program Files\\kalvora.exe\"-x", L""},
        {L"C:\\a\" b\"\\kalvora.exe \"quoted words\" y", L"\"quoted words\" y"},
        {L"\"\" -x", L"-x"},
        {L"\"an unclosed quote -x", L""},
        {L"kalvora.exe\x01\x1F-x", L"-x"},
        {L"日本語.exe 日本語", L"日本語"},
    };
    for (const CommandLineCase &c : cases) {
        std::wstring line = c.line;
        LPWSTR rest = CommandLineAfterProgramName(&line[0]);
        EXPECT_STREQ(rest, c.rest) << "command line: " << testing::PrintToString(line);
        EXPECT_TRUE(rest >= &line[0] && rest <= &line[0] + line.size()) << "not inside the line";
    }
}

} // namespace
