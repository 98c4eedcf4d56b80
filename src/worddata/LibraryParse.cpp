#include "worddata/LibraryParse.h"

ValueTable LibraryParse::tableFor(QByteArray file)
{
    qsizetype bomLength = 0;
    const LibraryEncoding encoding = LibraryEncoding::detect(file, bomLength);
    return ValueTable(std::move(file), encoding);
}

LibraryParse::LibraryParse(QByteArray file)
    : values(tableFor(std::move(file)))
    , reader(values.file().sliced(values.file().startsWith("\xEF\xBB\xBF") ? 3 : 0))
{}

bool LibraryParse::fits(QString &problem) const
{
    if (values.file().size() <= ValueTable::maxFileSize)
        return true;
    problem = QStringLiteral("文件太大（%1 字节）。").arg(values.file().size());
    return false;
}

QString LibraryParse::shown(QByteArrayView value) const
{
    constexpr qsizetype limit = 20;
    const QString text = values.encoding().decode(value.first(qMin(value.size(), limit * 2)));
    return text.size() > limit ? text.first(limit) + QStringLiteral("…") : text;
}
