#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

struct chmFile;

// A compiled help file (.chm) read through chmlib: its objects by path and the facts its
// #SYSTEM object records. A file that is missing, too large or not a sound .chm opens with an
// error and holds nothing; a damaged object reads as missing.
class ChmFile
{
public:
    enum class Error { None, Missing, Unreadable, NotHelpFile };

    // Help files are small; anything larger is refused rather than read.
    static constexpr qint64 maxFileSize = qint64(64) * 1024 * 1024;
    static constexpr qint64 maxObjectSize = qint64(16) * 1024 * 1024;

    explicit ChmFile(const QString &path);
    ~ChmFile();
    ChmFile(const ChmFile &) = delete;
    ChmFile &operator=(const ChmFile &) = delete;

    Error error() const { return error_; }
    bool isOpen() const { return error_ == Error::None; }
    QString path() const { return path_; }

    // An object by its path inside the file ("/index.htm"; a missing leading slash is added).
    std::optional<QByteArray> object(const QString &objectPath) const;

    // From #SYSTEM: paths inside the file with a leading slash, or empty when not recorded.
    QString defaultTopic() const { return defaultTopic_; }
    QString contentsFile() const { return contentsFile_; }
    QString indexFile() const { return indexFile_; }
    QString title() const { return title_; }

    // Checks the fixed headers against the file's size before chmlib sees the bytes:
    // chmlib trusts their offsets and sizes.
    static bool headerLooksSound(const QByteArray &head, qint64 fileSize);

private:
    void readSystem();

    struct Closer
    {
        void operator()(chmFile *file) const;
    };
    QString path_;
    Error error_ = Error::Missing;
    std::unique_ptr<chmFile, Closer> file_;
    QString defaultTopic_;
    QString contentsFile_;
    QString indexFile_;
    QString title_;
};
