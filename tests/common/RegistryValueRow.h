#pragma once

#include "platform/registry/Registry.h"

#include <QTest>

// Compares a registry value with the current row's columns found (bool), data (QByteArray)
// and type (quint32).
inline void compareWithRow(const std::optional<RegistryValue> &value)
{
    QFETCH(bool, found);
    QCOMPARE(value.has_value(), found);
    if (!found)
        return;
    QFETCH(QByteArray, data);
    QFETCH(quint32, type);
    QCOMPARE(value->data.toHex(' '), data.toHex(' '));
    QCOMPARE(value->type, type);
}
