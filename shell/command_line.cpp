#include "shell.h"

LPWSTR CommandLineAfterProgramName(LPWSTR commandLine) {
    bool quoted = false;
    while (*commandLine > L' ' || (*commandLine && quoted)) {
        if (*commandLine == L'"') quoted = !quoted;
        ++commandLine;
    }
    while (*commandLine && *commandLine <= L' ')
        ++commandLine;
    return commandLine;
}
