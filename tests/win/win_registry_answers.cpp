// Under Wine, in the prefix run_windows_suites.sh filled: what the Win32 calls answer, for the
// Linux reader to match byte for byte. Plain C++, without Qt.

#include "platform/registry/Win32Api.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string hex(const std::string &bytes)
{
    std::string out;
    for (unsigned char c : bytes)
        out += "0123456789abcdef"[c >> 4], out += "0123456789abcdef"[c & 15];
    return out.empty() ? "-" : out;
}

const std::string paths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\",
                  named = "Software\\Dorrit\\Named";
const char *const first = nullptr; // the first value by enumeration (RegEnumValueA), else the one named
// clang-format off
const std::pair<std::string, const char *> rows[] = {
    {paths + "Tesmar\xb5\xa5\xb4\xcaGraxo.exe", first}, // "单词" in code page 936
    {paths + "DorritExpand.exe", first}, {paths + "DorritNamed.exe", first}, {paths + "DorritLong.exe", first},
    {paths + "DorritDword.exe", first}, {paths + "DorritEmpty.exe", first}, {paths + "DorritMissing.exe", first},
    {named, "Chinese"}, {named, "Number"}, {named, "Long"}, {named, "Empty"}, {named, ""}, {named, "Nothing"},
    {"software\\dorrit\\named", "chinese"}, {"Software\\Dorrit\\Nothing", "PATH"},
};

// DORRIT_TEST_ROOT and DORRIT_TEST_LONG (5000 characters) are set by the script.
const char *const expansions[] = {
    "%dorrit_test_root%\\a", "%DORRIT_TEST_LONG%\\x%DORRIT_TEST_LONG%", "%DORRIT_NOPE%\\a",
    "%DORRIT_NOPE%DORRIT_TEST_ROOT%", "a%%b", "50%\\a", "", "\xb5\xa5%DORRIT_TEST_ROOT%\xb4\xca",
};
// clang-format on

} // namespace

int main()
{
    if (GetACP() != 936)
        return std::printf("FAIL: the ANSI code page is %u, not 936\n", GetACP()), 1;
    for (const auto &[key, name] : rows) {
        const auto value = name ? Win32Api::machineValue(key, name) : Win32Api::firstMachineValue(key);
        const std::string data = value ? std::string(value->data.begin(), value->data.end()) : "";
        std::printf("%s %d %u %s %s %s\n", name ? "named" : "first", value ? 1 : 0, value ? value->type : 0u,
                    hex(key).c_str(), hex(name ? name : "").c_str(), hex(data).c_str());
    }
    for (const char *text : expansions) {
        const auto got = Win32Api::expandEnvironmentStrings(text);
        std::printf("expand %d 0 %s - %s\n", got ? 1 : 0, hex(text).c_str(), hex(got.value_or("")).c_str());
    }
    std::printf("end %d\n", int(std::size(rows) + std::size(expansions)));
}
