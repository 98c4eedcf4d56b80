#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Memory that a library load fills at once: the file's bytes and the offsets over them.
// Fresh memory would cost the process a page fault for every page it writes first, which
// on a user's first load is most of the time spent, so a large buffer is reserved as
// address space and made usable in large steps that arrive resident (huge pages where the
// system offers them). A small one simply comes from the heap. Either way it starts zeroed.
class PopulatedBuffer
{
public:
    PopulatedBuffer() = default;
    // Room for up to capacity bytes, none of them usable yet (on the heap, all at once).
    explicit PopulatedBuffer(qsizetype capacity);
    ~PopulatedBuffer();
    PopulatedBuffer(PopulatedBuffer &&other) noexcept;
    PopulatedBuffer &operator=(PopulatedBuffer &&other) noexcept;
    PopulatedBuffer(const PopulatedBuffer &) = delete;
    PopulatedBuffer &operator=(const PopulatedBuffer &) = delete;

    // A buffer holding exactly these bytes; fewer usable ones when memory ran out.
    static PopulatedBuffer copyOf(QByteArrayView bytes);

    // Makes at least the first bytes usable; false when they exceed the capacity or the
    // system has no memory for them.
    bool ensure(qsizetype bytes);
    // Gives back what lies beyond the first bytes.
    void shrink(qsizetype bytes);

    char *data() { return data_; }
    const char *data() const { return data_; }
    qsizetype usable() const { return usable_; }
    qsizetype capacity() const { return capacity_; }
    // Memory taken from the system or the heap.
    qsizetype heldBytes() const { return usable_; }

    // Below this a buffer lives on the heap: its few pages cost little to fault in.
    static constexpr qsizetype heapLimit = qsizetype(1) << 20;

private:
    // The system's part, one file per platform. reserve returns address space for bytes,
    // aligned for huge pages where the system has them; commit makes a page-aligned range
    // of it resident and writable; decommit returns such a range; release frees it all.
    static char *reserve(qsizetype bytes);
    static bool commit(char *start, qsizetype bytes);
    static void decommit(char *start, qsizetype bytes);
    static void release(char *start, qsizetype bytes);
    static qsizetype pageSize();

    void clear();

    char *data_ = nullptr;
    qsizetype usable_ = 0;
    qsizetype capacity_ = 0;
    bool mapped_ = false;
};
