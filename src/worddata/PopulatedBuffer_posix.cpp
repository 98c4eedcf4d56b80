#include "worddata/PopulatedBuffer.h"

#include <cerrno>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Transparent huge pages cover 2 MiB on the machines this runs on; a range aligned to
// them can be filled with a few hundred times fewer faults.
constexpr qsizetype hugePage = qsizetype(2) << 20;

void preferHugePages(char *start, qsizetype bytes)
{
    madvise(start, size_t(bytes), MADV_HUGEPAGE);
}

} // namespace

qsizetype PopulatedBuffer::pageSize()
{
    static const qsizetype size = qsizetype(sysconf(_SC_PAGESIZE));
    return size;
}

char *PopulatedBuffer::reserve(qsizetype bytes)
{
    const qsizetype page = pageSize();
    const size_t length = size_t((bytes + page - 1) / page * page);
    // Address space only: the pages are taken when commit populates them.
    const int flags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE;
    void *raw = mmap(nullptr, length + size_t(hugePage), PROT_READ | PROT_WRITE, flags, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    char *base = static_cast<char *>(raw);
    char *start = reinterpret_cast<char *>((reinterpret_cast<std::uintptr_t>(base) + hugePage - 1) & ~(hugePage - 1));
    if (start > base)
        munmap(base, size_t(start - base));
    char *end = base + length + size_t(hugePage);
    if (end > start + length)
        munmap(start + length, size_t(end - (start + length)));
    return start;
}

bool PopulatedBuffer::commit(char *start, qsizetype bytes)
{
    // Only a step that spans whole huge pages gets them: a smaller one would still be
    // given a full huge page to clear.
    if (bytes >= hugePage)
        preferHugePages(start, bytes);
    if (madvise(start, size_t(bytes), MADV_POPULATE_WRITE) == 0)
        return true;
    if (errno == ENOMEM)
        return false;
    // Where that is refused (kernels before 5.14 know no MADV_POPULATE_WRITE), map the
    // range anew, populated, without the huge-page advice, which a new mapping does not
    // inherit. Nothing in it has been used yet.
    void *again = mmap(start, size_t(bytes), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_POPULATE, -1, 0);
    return again != MAP_FAILED;
}

void PopulatedBuffer::decommit(char *start, qsizetype bytes)
{
    madvise(start, size_t(bytes), MADV_DONTNEED);
}

void PopulatedBuffer::release(char *start, qsizetype bytes)
{
    const qsizetype page = pageSize();
    munmap(start, size_t((bytes + page - 1) / page * page));
}
