#include "worddata/PopulatedBuffer.h"

#include <windows.h>

// Windows has no call that makes fresh committed pages resident ahead of use:
// PrefetchVirtualMemory brings back paged-out memory, and VirtualLock is bounded by the
// working-set minimum. The buffer is committed in the same large steps and faults in on
// first touch.
qsizetype PopulatedBuffer::pageSize()
{
    static const qsizetype size = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return qsizetype(info.dwPageSize);
    }();
    return size;
}

char *PopulatedBuffer::reserve(qsizetype bytes)
{
    return static_cast<char *>(VirtualAlloc(nullptr, SIZE_T(bytes), MEM_RESERVE, PAGE_READWRITE));
}

bool PopulatedBuffer::commit(char *start, qsizetype bytes)
{
    return VirtualAlloc(start, SIZE_T(bytes), MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void PopulatedBuffer::decommit(char *start, qsizetype bytes)
{
    VirtualFree(start, SIZE_T(bytes), MEM_DECOMMIT);
}

void PopulatedBuffer::release(char *start, qsizetype)
{
    VirtualFree(start, 0, MEM_RELEASE);
}
