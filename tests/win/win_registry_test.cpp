// Runs under Wine against a prefix that run_win_registry_test.sh filled with `reg add`.
// Plain C++ with its own checks: it links only the Win32 calls, not Qt.
// Prints one "VALUE <label> <found> <type> <hex>" line per key, so the Linux reader of the
// same prefix can be compared byte for byte.

#include "platform/Win32Api.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int failures = 0;

void check(bool ok, const char *what, int line)
{
    if (!ok) {
        ++failures;
        std::printf("FAIL line %d: %s\n", line, what);
    }
}
#define CHECK(x) check((x), #x, __LINE__)

const std::string appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

struct Key
{
    const char *label;
    std::string path;
};

// "单词" in code page 936.
const std::string danci = "\xb5\xa5\xb4\xca";

const Key keys[] = {
    {"graxo", appPaths + "Tesmar" + danci + "Graxo.exe"},
    {"expand", appPaths + "DorritExpand.exe"},
    {"named", appPaths + "DorritNamed.exe"},
    {"long", appPaths + "DorritLong.exe"},
    {"dword", appPaths + "DorritDword.exe"},
    {"empty", appPaths + "DorritEmpty.exe"},
    {"missing", appPaths + "DorritMissing.exe"},
};

// Named values for the system-information look-up: key, value name, label.
struct Named
{
    const char *label;
    std::string key;
    std::string name;
};

const std::string dorritKey = "Software\\Dorrit\\Named";

const Named named[] = {
    {"msinfo_path", "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"},
    {"msinfo_path_other_case", "software\\microsoft\\shared tools\\msinfo", "path"},
    {"msinfo_folder", "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"},
    {"chinese", dorritKey, "Chinese"},
    {"expand", dorritKey, "Expand"},
    {"dword", dorritKey, "Number"},
    {"long", dorritKey, "Long"},
    {"empty", dorritKey, "Empty"},
    {"default", dorritKey, ""},
    {"missing_name", dorritKey, "Nothing"},
    {"missing_key", "Software\\Dorrit\\Nothing", "PATH"},
};

std::string text(const Win32Api::EnumeratedValue &v)
{
    return std::string(v.data.begin(), v.data.end());
}

} // namespace

int main()
{
    CHECK(GetACP() == 936);

    for (const Key &key : keys) {
        const auto value = Win32Api::firstMachineValue(key.path);
        std::printf("VALUE %s %d %u ", key.label, value ? 1 : 0, value ? unsigned(value->type) : 0u);
        if (value) {
            for (unsigned char c : value->data)
                std::printf("%02x", c);
        }
        std::printf("\n");
    }

    for (const Named &n : named) {
        const auto value = Win32Api::machineValue(n.key, n.name);
        std::printf("NAMED %s %d %u ", n.label, value ? 1 : 0, value ? unsigned(value->type) : 0u);
        if (value) {
            for (unsigned char c : value->data)
                std::printf("%02x", c);
        }
        std::printf("\n");
    }
    const auto msinfo = Win32Api::machineValue(named[0].key, named[0].name);
    CHECK(msinfo && msinfo->type == REG_SZ &&
          text(*msinfo) == std::string("C:\\Program Files\\MSInfo\\msinfo32.exe") + '\0');
    const auto chinese = Win32Api::machineValue(dorritKey, "Chinese");
    CHECK(chinese && text(*chinese) == danci + '\0');
    const auto longNamed = Win32Api::machineValue(dorritKey, "Long");
    CHECK(longNamed && longNamed->data.size() == 1501);
    const auto emptyNamed = Win32Api::machineValue(dorritKey, "Empty");
    CHECK(emptyNamed && text(*emptyNamed) == std::string(1, '\0'));
    CHECK(!Win32Api::machineValue(dorritKey, "Nothing"));
    CHECK(!Win32Api::machineValue("Software\\Dorrit\\Nothing", "PATH"));

    const auto graxo = Win32Api::firstMachineValue(keys[0].path);
    CHECK(graxo && graxo->type == REG_SZ);
    CHECK(graxo &&
          text(*graxo) == std::string("C:\\Program Files\\Graxo\\Tesmar") + danci + "Graxo.exe" + std::string(1, '\0'));

    const auto expand = Win32Api::firstMachineValue(keys[1].path);
    CHECK(expand && expand->type == REG_EXPAND_SZ);
    CHECK(expand && text(*expand) == std::string("%DORRIT_TEST_ROOT%\\Graxo\\g.exe") + '\0');
    const char *root = std::getenv("DORRIT_TEST_ROOT");
    CHECK(root != nullptr);
    if (expand && root) {
        const auto expanded = Win32Api::expandEnvironmentStrings(text(*expand).c_str());
        CHECK(expanded && *expanded == std::string(root) + "\\Graxo\\g.exe");
    }

    const auto named = Win32Api::firstMachineValue(keys[2].path);
    CHECK(named && named->type == REG_EXPAND_SZ);
    CHECK(named && text(*named) == "%TEMP%\\" + danci + '\0');

    const auto longValue = Win32Api::firstMachineValue(keys[3].path);
    CHECK(longValue && longValue->data.size() == 3 + 300 + 7);

    const auto dword = Win32Api::firstMachineValue(keys[4].path);
    CHECK(dword && dword->type == REG_DWORD && text(*dword) == std::string("\x2a\0\0\0", 4));

    CHECK(!Win32Api::firstMachineValue(keys[5].path));
    CHECK(!Win32Api::firstMachineValue(keys[6].path));

    struct Expansion
    {
        const char *in;
        std::string out;
    };
    const Expansion expansions[] = {
        {"%dorrit_test_root%\\a", std::string(root ? root : "") + "\\a"},
        {"%DORRIT_NOPE%\\a", "%DORRIT_NOPE%\\a"},
        {"%DORRIT_NOPE%DORRIT_TEST_ROOT%", "%DORRIT_NOPE%DORRIT_TEST_ROOT%"},
        {"a%%b", "a%%b"},
        {"50%\\a", "50%\\a"},
        {"", ""},
    };
    for (const Expansion &e : expansions) {
        const auto got = Win32Api::expandEnvironmentStrings(e.in);
        if (!got || *got != e.out) {
            ++failures;
            std::printf("FAIL expansion of [%s]: [%s]\n", e.in, got ? got->c_str() : "(failed)");
        }
    }

    std::printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
