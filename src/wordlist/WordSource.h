#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <span>

// What a library is made from: English words, each with a Chinese meaning and its related
// words. Texts are code page 936 bytes, ready to be written into a library.
class WordSource
{
public:
    static constexpr quint32 none = ~quint32(0);

    virtual ~WordSource() = default;

    // The key of a word as written: lower case, one space between words.
    static QByteArray keyOf(QByteArrayView word)
    {
        QByteArray key;
        key.reserve(word.size());
        for (const char c : word) {
            if (c == ' ' || c == '\t') {
                if (!key.isEmpty() && !key.endsWith(' '))
                    key += ' ';
            } else {
                key += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
            }
        }
        if (key.endsWith(' '))
            key.chop(1);
        return key;
    }

    // Entries are numbered 0 .. size() - 1.
    virtual quint32 size() const = 0;
    // The entry whose key (lower case, one space between words) is exactly key; none if absent.
    virtual quint32 find(QByteArrayView key) const = 0;
    // The entry of which key is another form ("went" of go, "tried" of try); none if absent.
    virtual quint32 findForm(QByteArrayView key) const = 0;
    // The word as it is usually written ("Monday"), its meaning ("n.星期一") and whether it is
    // common enough to show in a ring on its own.
    virtual QByteArrayView spelling(quint32 entry) const = 0;
    virtual QByteArrayView meaning(quint32 entry) const = 0;
    virtual bool isCommon(quint32 entry) const = 0;
    // Related entries, strongest first.
    virtual std::span<const quint32> related(quint32 entry) const = 0;
};
