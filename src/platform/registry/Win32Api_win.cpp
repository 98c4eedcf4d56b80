#include "platform/registry/Win32Api.h"

#include <windows.h>

namespace Win32Api {

namespace {

class OpenKey
{
public:
    explicit OpenKey(HKEY key)
        : key_(key)
    {}
    ~OpenKey() { RegCloseKey(key_); }
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;

private:
    HKEY key_;
};

} // namespace

std::optional<EnumeratedValue> firstMachineValue(const std::string &ansiKeyPath)
{
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, ansiKeyPath.c_str(), &key) != ERROR_SUCCESS || !key)
        return std::nullopt;
    const OpenKey closer(key);

    // Size query: no room for name or data, so the call only reports the data length.
    std::vector<unsigned char> data(1, 0);
    DWORD type = 0;
    DWORD dataLength = 0;
    char noName[1] = {0};
    DWORD nameLength = 0;
    const LONG probe = RegEnumValueA(key, 0, noName, &nameLength, nullptr, &type, data.data(), &dataLength);
    if (probe != ERROR_SUCCESS && probe != ERROR_MORE_DATA)
        return std::nullopt;
    if (dataLength != 0)
        data.assign(dataLength, 0);

    char name[256] = {0};
    nameLength = sizeof name;
    DWORD readLength = dataLength;
    if (RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data.data(), &readLength) != ERROR_SUCCESS)
        return std::nullopt;
    // A zero-length value leaves the one-byte buffer with its NUL, which reads as empty text.
    if (readLength < data.size() && readLength != 0)
        data.resize(readLength);
    return EnumeratedValue{std::move(data), static_cast<std::uint32_t>(type)};
}

std::optional<EnumeratedValue> machineValue(const std::string &ansiKeyPath, const std::string &ansiValueName)
{
    // Read access only: a user who may not change the machine's keys can still read them.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ansiKeyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS || !key)
        return std::nullopt;
    const OpenKey closer(key);

    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, ansiValueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // The value may grow between the two calls; ask again with the size reported.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<unsigned char> data(size + 1, 0);
        DWORD read = size;
        const LONG status = RegQueryValueExA(key, ansiValueName.c_str(), nullptr, &type, data.data(), &read);
        if (status == ERROR_MORE_DATA) {
            size = read;
            continue;
        }
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        // The size query of a string may count more than the ANSI text takes.
        data.resize(read);
        return EnumeratedValue{std::move(data), static_cast<std::uint32_t>(type)};
    }
    return std::nullopt;
}

std::optional<std::string> expandEnvironmentStrings(const std::string &ansiText)
{
    const DWORD needed = ExpandEnvironmentStringsA(ansiText.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    // The size is asked for first, so a long expansion is never cut at a fixed buffer.
    // The ANSI call may count a byte more than it writes; the NUL marks the real end.
    std::string buffer(needed + 1, '\0');
    const DWORD written = ExpandEnvironmentStringsA(ansiText.c_str(), buffer.data(), needed + 1);
    if (written == 0 || written > needed + 1)
        return std::nullopt;
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

} // namespace Win32Api
