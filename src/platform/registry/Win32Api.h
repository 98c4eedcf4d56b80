#pragma once

// The Win32 calls behind the registry and environment stand-ins. Plain C++ without Qt, so
// the file can be built and run on its own under Wine.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Win32Api {

struct EnumeratedValue
{
    std::vector<unsigned char> data;
    std::uint32_t type = 0;
};

// RegOpenKeyA on HKEY_LOCAL_MACHINE, RegEnumValueA at index 0 (a size query first, then the
// read into a buffer of exactly that size), RegCloseKey. The key name is in the ANSI code page.
std::optional<EnumeratedValue> firstMachineValue(const std::string &ansiKeyPath);

// RegOpenKeyExA on HKEY_LOCAL_MACHINE with KEY_READ, RegQueryValueExA of one named value (its
// size first, then the data, so no length is cut off), RegCloseKey. Names in the ANSI code page.
std::optional<EnumeratedValue> machineValue(const std::string &ansiKeyPath, const std::string &ansiValueName);

// ExpandEnvironmentStringsA; nothing when the call fails.
std::optional<std::string> expandEnvironmentStrings(const std::string &ansiText);

} // namespace Win32Api
