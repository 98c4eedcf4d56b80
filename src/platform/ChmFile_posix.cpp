#include "platform/ChmFile.h"

#include "platform/HelpSitemap.h"

#include <QFile>
#include <QtEndian>

#include <chm_lib.h>

namespace {

quint32 u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint64 u64(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint64>(bytes.constData() + at);
}

QString objectPath(const QString &text)
{
    return text.isEmpty() || text.startsWith(u'/') ? text : u'/' + text;
}

} // namespace

void ChmFile::Closer::operator()(chmFile *file) const
{
    chm_close(file);
}

bool ChmFile::headerLooksSound(const QByteArray &file, qint64 fileSize)
{
    constexpr qsizetype itsfV2Length = 0x58;
    constexpr qsizetype itsfV3Length = 0x60;
    constexpr qsizetype itspLength = 0x54;
    if (file.size() < itsfV2Length || !file.startsWith("ITSF"))
        return false;
    const quint32 version = u32(file, 4);
    const quint32 headerLength = u32(file, 8);
    if (!((version == 2 && headerLength == itsfV2Length) || (version == 3 && headerLength == itsfV3Length)) ||
        file.size() < qsizetype(headerLength))
        return false;
    const quint64 size = quint64(fileSize);
    const quint64 dirOffset = u64(file, 72);
    const quint64 dirLength = u64(file, 80);
    if (dirOffset > size || dirLength > size - dirOffset || dirLength < quint64(itspLength))
        return false;
    if (version == 3 && u64(file, 88) > size)
        return false;

    // The directory: fixed blocks of a sane size that fit in it.
    if (quint64(file.size()) < dirOffset + itspLength)
        return false;
    const QByteArray itsp = file.mid(qsizetype(dirOffset), itspLength);
    if (!itsp.startsWith("ITSP") || u32(itsp, 8) != quint32(itspLength))
        return false;
    const quint32 blockLength = u32(itsp, 16);
    if (blockLength < 64 || blockLength > 0x10000)
        return false;
    // The block count field is not reliable (some compilers write -1); the index blocks
    // that chmlib starts from must lie inside the directory.
    const qint64 blocks = qint64((dirLength - itspLength) / blockLength);
    const qint32 indexRoot = qint32(u32(itsp, 28));
    const qint32 indexHead = qint32(u32(itsp, 32));
    return indexHead >= 0 && indexHead < blocks && indexRoot >= -1 && indexRoot < blocks;
}

ChmFile::ChmFile(const QString &path)
    : path_(path)
{
    QFile file(path);
    if (!file.exists()) {
        error_ = Error::Missing;
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = Error::Unreadable;
        return;
    }
    const qint64 size = file.size();
    if (size > maxFileSize) {
        error_ = Error::NotHelpFile;
        return;
    }
    const QByteArray head = file.read(size);
    if (head.size() != size) {
        error_ = Error::Unreadable;
        return;
    }
    if (!headerLooksSound(head, size)) {
        error_ = Error::NotHelpFile;
        return;
    }
    file_.reset(chm_open(QFile::encodeName(path).constData()));
    if (!file_) {
        error_ = Error::NotHelpFile;
        return;
    }
    error_ = Error::None;
    readSystem();
}

ChmFile::~ChmFile() = default;

std::optional<QByteArray> ChmFile::object(const QString &path) const
{
    if (!file_)
        return std::nullopt;
    const QByteArray name = objectPath(path).toUtf8();
    if (name.isEmpty() || name.size() > CHM_MAX_PATHLEN)
        return std::nullopt;
    chmUnitInfo info{};
    if (chm_resolve_object(file_.get(), name.constData(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > quint64(maxObjectSize))
        return std::nullopt;
    QByteArray data(qsizetype(info.length), Qt::Uninitialized);
    if (data.isEmpty())
        return data;
    const LONGINT64 got = chm_retrieve_object(file_.get(), &info, reinterpret_cast<unsigned char *>(data.data()), 0,
                                              LONGINT64(info.length));
    if (got != LONGINT64(info.length))
        return std::nullopt;
    return data;
}

// #SYSTEM: a version, then records of a 16-bit code, a 16-bit length and that many bytes.
void ChmFile::readSystem()
{
    const std::optional<QByteArray> system = object(QStringLiteral("/#SYSTEM"));
    if (!system)
        return;
    qsizetype at = 4;
    while (at + 4 <= system->size()) {
        const quint16 code = qFromLittleEndian<quint16>(system->constData() + at);
        const quint16 length = qFromLittleEndian<quint16>(system->constData() + at + 2);
        at += 4;
        if (length > system->size() - at)
            break;
        QByteArray text = system->mid(at, length);
        at += length;
        const qsizetype nul = text.indexOf('\0');
        if (nul >= 0)
            text.truncate(nul);
        switch (code) {
        case 0:
            contentsFile_ = objectPath(HelpSitemap::decodeText(text));
            break;
        case 1:
            indexFile_ = objectPath(HelpSitemap::decodeText(text));
            break;
        case 2:
            defaultTopic_ = objectPath(HelpSitemap::decodeText(text));
            break;
        case 3:
            title_ = HelpSitemap::decodeText(text);
            break;
        default:
            break;
        }
    }
}
