#pragma once

#include "wordlist/WordSource.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// The shipped word tables (tools/make-word-tables.mjs writes them; tools/lib/wordtables.mjs
// gives the layout): one file mapped whole, looked up by binary search, nothing copied.
class WordTables : public WordSource
{
public:
    // Where the program keeps them: beside the executable, or in a system installation's
    // files under share/.
    static QString defaultPath();

    // False with the reason when the file is missing or not a valid table; every offset is
    // checked here so that no look-up can leave the file.
    bool open(const QString &path, QString &problem);
    // The same over bytes in memory, which are kept.
    bool load(QByteArray bytes, QString &problem);

    quint32 size() const override { return entryCount_; }

    quint32 find(QByteArrayView key) const override;
    quint32 findForm(QByteArrayView key) const override;
    QByteArrayView spelling(quint32 entry) const override;
    QByteArrayView meaning(quint32 entry) const override;
    bool isCommon(quint32 entry) const override;
    std::span<const quint32> related(quint32 entry) const override;

    // A word's American pronunciation in IPA ("kəmˈpjutɚ"), looked up as a list's word is;
    // an inflected form has its own ("went"), never its base's. Empty when unknown.
    QString phonetic(const QString &word) const;

private:
    struct Entry;
    struct Form;
    bool attach(const uchar *data, qint64 size, QString &problem);
    Entry entry(quint32 i) const;
    Form form(quint32 i) const;
    QByteArrayView text(quint32 offset, quint32 length) const;
    quint32 findFormIndex(QByteArrayView key) const;

    QFile file_;
    QByteArray bytes_;
    const uchar *entries_ = nullptr;
    const uchar *forms_ = nullptr;
    const quint32 *relations_ = nullptr;
    const char *text_ = nullptr;
    quint32 entryCount_ = 0;
    quint32 formCount_ = 0;
};
