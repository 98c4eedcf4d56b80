#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The system's ANSI text: code page 936 (GBK). Everything that reads or writes the
// settings file, the libraries or registry strings converts through here.
namespace AnsiText {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);
// The text of bytes that are code page 936 text throughout; nothing when a sequence is broken.
std::optional<QString> decodeStrictly(QByteArrayView bytes);

// Display width in half-width cells: 2 for a character that code page 936 encodes
// in two bytes, 1 for anything else (ASCII, line ends, unencodable characters).
int cellCount(QStringView text);

} // namespace AnsiText
