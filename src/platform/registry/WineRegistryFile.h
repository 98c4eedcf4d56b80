#pragma once

#include "platform/registry/Registry.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// Reads a Wine prefix's registry file (system.reg holds HKEY_LOCAL_MACHINE) the way Wine
// loads it, and answers what RegEnumValueA would return for index 0 of one key, or
// RegQueryValueExA for one named value. Anything
// malformed is skipped line by line as Wine does; a file that is not a registry file at all
// holds no keys.
class WineRegistryFile
{
public:
    // Larger files are refused rather than read into memory.
    static constexpr qint64 maxFileSize = qint64(64) * 1024 * 1024;

    static std::optional<RegistryValue> firstValue(QByteArrayView fileText, QStringView keyPath);
    static std::optional<RegistryValue> readFirstValue(const QString &filePath, QStringView keyPath);

    // The value of that name (case-insensitive; empty for the default value "@").
    static std::optional<RegistryValue> namedValue(QByteArrayView fileText, QStringView keyPath, QStringView valueName);
    static std::optional<RegistryValue> readNamedValue(const QString &filePath, QStringView keyPath,
                                                       QStringView valueName);

    // Decodes one escaped string (\\, \", \n, \x5355, octal ...) that ends at endChar.
    // Returns the bytes consumed including endChar, or -1 when endChar never comes.
    static qsizetype unescape(QByteArrayView text, char endChar, QString &out);

    // Wine's order of names: code units compared upper-cased, a prefix first.
    static int compareNames(QStringView a, QStringView b);
};
