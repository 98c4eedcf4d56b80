#include "wordbook/WordbookExport.h"

#include "wordbook/Wordbook.h"

#include <QDir>
#include <QSaveFile>

const QStringList WordbookExport::headerLines = {QStringLiteral("#separator:tab"), QStringLiteral("#html:false"),
                                                 QStringLiteral("#columns:单词\t释义\t音标\t联想词\t标签"),
                                                 QStringLiteral("#tags column:5")};

QString WordbookExport::field(QString text)
{
    for (QChar &c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    if (text.contains(u'"') || text.startsWith(u'#'))
        return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return text;
}

QString WordbookExport::tag(const QString &library)
{
    QString tag = library.simplified();
    return tag.isEmpty() ? Wordbook::name : tag.replace(u' ', u'_');
}

QByteArray WordbookExport::notes(const Wordbook &wordbook, const std::function<QString(const QString &)> &phonetic)
{
    QStringList lines = headerLines;
    for (qsizetype i = 0; i < wordbook.size(); ++i) {
        const Wordbook::Entry &e = wordbook.entry(i);
        const QString ipa = phonetic ? phonetic(e.word) : QString();
        QStringList associations;
        for (qsizetype k = 0; k < std::min<qsizetype>(e.associations.size(), associationsPerNote); ++k) {
            const auto &[word, meaning] = e.associations[k];
            associations << (meaning.isEmpty() ? word : word + u' ' + meaning);
        }
        lines << QStringList{field(e.word), field(e.meaning), field(ipa.isEmpty() ? ipa : u'/' + ipa + u'/'),
                             field(associations.join(QStringLiteral(" / "))), field(tag(e.library))}
                     .join(u'\t');
    }
    return (lines.join(u'\n') + u'\n').toUtf8();
}

bool WordbookExport::write(const QString &path, const QByteArray &notes, QString &problem)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(notes) == notes.size() && file.commit())
        return true;
    problem = QStringLiteral("无法写入“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}
