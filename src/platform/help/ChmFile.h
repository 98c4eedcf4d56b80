#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// A compiled help file (.chm) read through chmlib: its objects by path and the facts its
// #SYSTEM object records. A file that is missing, too large or not a sound .chm opens with an
// error and holds nothing.
//
// chmlib corrupts memory on some damaged compressed data, which no check of the headers can
// rule out. So the file is read whole by chmlib in a child process that hands the objects
// over a pipe; a child that crashes, hangs or overruns the limits means a damaged file.
class ChmFile
{
public:
    enum class Error { None, Missing, Unreadable, NotHelpFile };

    // Help files are small; anything larger is refused rather than read.
    static constexpr qint64 maxFileSize = qint64(64) * 1024 * 1024;
    static constexpr qint64 maxObjectSize = qint64(16) * 1024 * 1024;
    // All objects together, as the child hands them over.
    static constexpr qint64 maxContentSize = qint64(64) * 1024 * 1024;
    static constexpr int maxObjectCount = 20000;
    static constexpr int childTimeoutMs = 10000;

    using Objects = QHash<QString, QByteArray>; // keyed by lower-case path

    explicit ChmFile(const QString &path);

    Error error() const { return error_; }
    bool isOpen() const { return error_ == Error::None; }
    QString path() const { return path_; }

    // An object by its path inside the file ("/index.htm"; a missing leading slash is added).
    std::optional<QByteArray> object(const QString &objectPath) const;

    // From #SYSTEM: paths inside the file with a leading slash, or empty when not recorded.
    QString defaultTopic() const { return system_.defaultTopic; }
    QString contentsFile() const { return system_.contentsFile; }
    QString indexFile() const { return system_.indexFile; }
    QString title() const { return system_.title; }

    // Checks the fixed headers against the file's size before chmlib sees the bytes:
    // chmlib trusts their offsets and sizes.
    static bool headerLooksSound(const QByteArray &head, qint64 fileSize);

    // The child's stream: "DCHM1", then per object a 32-bit path length, the path, a 32-bit
    // data length and the data, and a final 0xFFFFFFFF. False for anything else.
    static bool readStream(const QByteArray &stream, Objects &objects);

    // The facts of a #SYSTEM object: a version, then records of a 16-bit code, a 16-bit
    // length and that many bytes.
    struct System
    {
        QString contentsFile;
        QString indexFile;
        QString defaultTopic;
        QString title;
    };
    static System readSystem(const QByteArray &system);

private:
    QString path_;
    Error error_ = Error::Missing;
    Objects objects_;
    System system_;
};
