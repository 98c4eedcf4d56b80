#include "worddata/SequentialWriter.h"

#include "platform/text/AnsiText.h"

void SequentialWriter::separate()
{
    if (recordOpen_)
        bytes_.append(',');
    recordOpen_ = true;
}

void SequentialWriter::writeText(QStringView text)
{
    separate();
    // The syntax has no escape for a quote; one inside the text would end the value early
    // and shift every later record, so it is left out.
    QByteArray encoded = AnsiText::encode(text);
    encoded.removeIf([](char c) { return c == '"'; });
    bytes_.append('"');
    bytes_.append(encoded);
    bytes_.append('"');
}

void SequentialWriter::writeNumber(double value)
{
    separate();
    // Shortest form that reads back as the same single-precision value: 0.1, not 0.100000001.
    bytes_.append(QByteArray::number(double(float(value)), 'g', 7));
}

void SequentialWriter::writeBoolean(bool value)
{
    separate();
    bytes_.append(value ? "#TRUE#" : "#FALSE#");
}

void SequentialWriter::endRecord()
{
    bytes_.append("\r\n");
    recordOpen_ = false;
}
