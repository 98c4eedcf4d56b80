#include "platform/help/ChmFile.h"

#include "platform/help/HelpSitemap.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QtEndian>

#include <chm_lib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char streamMagic[] = "DCHM1";
constexpr quint32 streamEnd = 0xFFFFFFFFu;

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

// --- In the child: nothing but chmlib, malloc and write. ---

bool writeAll(int fd, const void *data, size_t size)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

bool writeLength(int fd, quint32 value)
{
    unsigned char bytes[4];
    qToLittleEndian(value, bytes);
    return writeAll(fd, bytes, sizeof bytes);
}

struct ChildContext
{
    int fd;
    quint64 written = 0;
    int count = 0;
    bool ok = true;
};

int sendObject(chmFile *file, chmUnitInfo *info, void *context)
{
    auto *c = static_cast<ChildContext *>(context);
    // Folders end in a slash and hold no data; the meta objects (::DataSpace) are not asked for.
    const size_t pathLength = strnlen(info->path, CHM_MAX_PATHLEN + 1);
    if (pathLength == 0 || pathLength > CHM_MAX_PATHLEN || info->path[pathLength - 1] == '/')
        return CHM_ENUMERATOR_CONTINUE;
    if (info->length > quint64(ChmFile::maxObjectSize) || ++c->count > ChmFile::maxObjectCount ||
        c->written + info->length > quint64(ChmFile::maxContentSize)) {
        c->ok = false;
        return CHM_ENUMERATOR_FAILURE;
    }
    unsigned char *data = static_cast<unsigned char *>(malloc(info->length ? size_t(info->length) : 1));
    if (!data) {
        c->ok = false;
        return CHM_ENUMERATOR_FAILURE;
    }
    const LONGINT64 got = info->length ? chm_retrieve_object(file, info, data, 0, LONGINT64(info->length)) : 0;
    // An object that does not read whole is left out, as missing.
    if (got == LONGINT64(info->length)) {
        c->ok = writeLength(c->fd, quint32(pathLength)) && writeAll(c->fd, info->path, pathLength) &&
                writeLength(c->fd, quint32(info->length)) && writeAll(c->fd, data, size_t(info->length));
        c->written += info->length;
    }
    free(data);
    return c->ok ? CHM_ENUMERATOR_CONTINUE : CHM_ENUMERATOR_FAILURE;
}

// chmlib takes sizes from the file and allocates them: a damaged file may ask for gigabytes.
// The child gets a gigabyte more address space than it has, enough for any sound help file.
void limitMemory()
{
    char text[64] = {0};
    const int statm = open("/proc/self/statm", O_RDONLY);
    if (statm < 0)
        return;
    const ssize_t n = read(statm, text, sizeof text - 1);
    close(statm);
    unsigned long long pages = 0;
    if (n <= 0 || sscanf(text, "%llu", &pages) != 1)
        return;
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(1) << 30);
    const rlimit memory{limit, limit};
    setrlimit(RLIMIT_AS, &memory);
}

[[noreturn]] void childMain(const QByteArray &path, int fd)
{
    limitMemory();
    chmFile *file = chm_open(path.constData());
    if (!file)
        _exit(2);
    ChildContext context{fd};
    bool ok = writeAll(fd, streamMagic, sizeof streamMagic - 1);
    ok = ok && chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL | CHM_ENUMERATE_FILES, sendObject,
                             &context) != 0;
    ok = ok && context.ok && writeLength(fd, streamEnd);
    chm_close(file);
    _exit(ok ? 0 : 3);
}

// --- In the program. ---

// Runs chmlib on the file in a child; the stream it wrote when it ended well, else nothing.
std::optional<QByteArray> readInChild(const QString &path)
{
    const QByteArray localPath = QFile::encodeName(path);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(fds[0]);
        signal(SIGPIPE, SIG_DFL);
        // What the C library says as chmlib fails is of no use to the user.
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0)
            dup2(quiet, STDERR_FILENO);
        childMain(localPath, fds[1]);
    }
    close(fds[1]);

    QByteArray stream;
    bool ok = true;
    const QDeadlineTimer deadline(ChmFile::childTimeoutMs);
    char buffer[65536];
    for (;;) {
        pollfd waitFor{fds[0], POLLIN, 0};
        const int ready = poll(&waitFor, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            ok = false; // hung
            break;
        }
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        // The paths and lengths travel with the data.
        if (stream.size() + n >
            ChmFile::maxContentSize + qint64(ChmFile::maxObjectCount) * (8 + CHM_MAX_PATHLEN) + 16) {
            ok = false;
            break;
        }
        stream.append(buffer, n);
    }
    close(fds[0]);
    if (!ok)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return stream;
}

} // namespace

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

bool ChmFile::readStream(const QByteArray &stream, Objects &objects)
{
    objects.clear();
    const qsizetype magicLength = qsizetype(sizeof streamMagic - 1);
    if (!stream.startsWith(streamMagic))
        return false;
    qsizetype at = magicLength;
    const auto length = [&stream, &at](quint32 &value) {
        if (stream.size() - at < 4)
            return false;
        value = u32(stream, at);
        at += 4;
        return true;
    };
    for (;;) {
        quint32 pathLength = 0;
        if (!length(pathLength))
            return false;
        if (pathLength == streamEnd)
            return at == stream.size();
        if (pathLength == 0 || pathLength > CHM_MAX_PATHLEN || stream.size() - at < qsizetype(pathLength))
            return false;
        const QString path = HelpSitemap::decodeText(stream.mid(at, pathLength)).toLower();
        at += pathLength;
        quint32 dataLength = 0;
        if (!length(dataLength) || dataLength > quint64(maxObjectSize) || stream.size() - at < qsizetype(dataLength) ||
            objects.size() >= maxObjectCount)
            return false;
        objects.insert(path, stream.mid(at, dataLength));
        at += dataLength;
    }
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
    const std::optional<QByteArray> stream = headerLooksSound(head, size) ? readInChild(path) : std::nullopt;
    if (!stream || !readStream(*stream, objects_)) {
        objects_.clear();
        error_ = Error::NotHelpFile;
        return;
    }
    error_ = Error::None;
    if (const auto system = object(QStringLiteral("/#SYSTEM")))
        system_ = readSystem(*system);
}

std::optional<QByteArray> ChmFile::object(const QString &path) const
{
    const auto found = objects_.constFind(objectPath(path).toLower());
    if (found == objects_.cend())
        return std::nullopt;
    return *found;
}

ChmFile::System ChmFile::readSystem(const QByteArray &system)
{
    System facts;
    qsizetype at = 4;
    while (system.size() - at >= 4) {
        const quint16 code = qFromLittleEndian<quint16>(system.constData() + at);
        const quint16 length = qFromLittleEndian<quint16>(system.constData() + at + 2);
        at += 4;
        if (length > system.size() - at)
            break;
        QByteArray text = system.mid(at, length);
        at += length;
        const qsizetype nul = text.indexOf('\0');
        if (nul >= 0)
            text.truncate(nul);
        switch (code) {
        case 0:
            facts.contentsFile = objectPath(HelpSitemap::decodeText(text));
            break;
        case 1:
            facts.indexFile = objectPath(HelpSitemap::decodeText(text));
            break;
        case 2:
            facts.defaultTopic = objectPath(HelpSitemap::decodeText(text));
            break;
        case 3:
            facts.title = HelpSitemap::decodeText(text);
            break;
        default:
            break;
        }
    }
    return facts;
}
