#include "test_support.h"

#include <cstdlib>

std::wstring ToWindowsPath(const std::string &path) {
    std::wstring result = path.empty() || path[0] != '/' ? L"" : L"Z:";
    for (char c : path)
        result += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return result;
}

std::wstring PathFromEnvironment(const char *name) {
    const char *value = std::getenv(name);
    return value ? ToWindowsPath(value) : std::wstring();
}
