// Helpers shared by the test programs that run under Wine.
#pragma once

#include <string>

// A path as the test was given it (a Unix path from CTest, or already a Windows one), as a
// Windows path: Unix paths are reached through drive Z:.
std::wstring ToWindowsPath(const std::string &path);

// The Windows path of the file named by an environment variable that CTest sets; empty when unset.
std::wstring PathFromEnvironment(const char *name);
