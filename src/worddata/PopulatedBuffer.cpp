#include "worddata/PopulatedBuffer.h"

#include <cstdlib>
#include <cstring>
#include <utility>

PopulatedBuffer::PopulatedBuffer(qsizetype capacity)
{
    if (capacity <= 0)
        return;
    if (capacity < heapLimit) {
        data_ = static_cast<char *>(std::calloc(size_t(capacity), 1));
        if (data_)
            usable_ = capacity_ = capacity;
        return;
    }
    data_ = reserve(capacity);
    if (data_) {
        capacity_ = capacity;
        mapped_ = true;
    }
}

PopulatedBuffer::~PopulatedBuffer()
{
    clear();
}

PopulatedBuffer::PopulatedBuffer(PopulatedBuffer &&other) noexcept
    : data_(std::exchange(other.data_, nullptr))
    , usable_(std::exchange(other.usable_, 0))
    , capacity_(std::exchange(other.capacity_, 0))
    , mapped_(std::exchange(other.mapped_, false))
{}

PopulatedBuffer &PopulatedBuffer::operator=(PopulatedBuffer &&other) noexcept
{
    if (this != &other) {
        clear();
        data_ = std::exchange(other.data_, nullptr);
        usable_ = std::exchange(other.usable_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        mapped_ = std::exchange(other.mapped_, false);
    }
    return *this;
}

void PopulatedBuffer::clear()
{
    if (mapped_)
        release(data_, capacity_);
    else
        std::free(data_);
    data_ = nullptr;
    usable_ = capacity_ = 0;
    mapped_ = false;
}

PopulatedBuffer PopulatedBuffer::copyOf(QByteArrayView bytes)
{
    PopulatedBuffer buffer(bytes.size());
    if (!bytes.isEmpty() && buffer.ensure(bytes.size()))
        std::memcpy(buffer.data(), bytes.data(), size_t(bytes.size()));
    return buffer;
}

bool PopulatedBuffer::ensure(qsizetype bytes)
{
    if (bytes <= usable_)
        return true;
    if (bytes > capacity_)
        return false;
    const qsizetype page = pageSize();
    const qsizetype end = qMin(capacity_, (bytes + page - 1) / page * page);
    if (!commit(data_ + usable_, end - usable_))
        return false;
    usable_ = end;
    return true;
}

void PopulatedBuffer::shrink(qsizetype bytes)
{
    bytes = qBound<qsizetype>(0, bytes, usable_);
    if (!mapped_) {
        if (bytes == capacity_)
            return;
        if (bytes == 0) {
            clear();
            return;
        }
        if (void *smaller = std::realloc(data_, size_t(bytes))) {
            data_ = static_cast<char *>(smaller);
            usable_ = capacity_ = bytes;
        }
        return;
    }
    const qsizetype page = pageSize();
    const qsizetype keep = (bytes + page - 1) / page * page;
    if (keep < usable_) {
        decommit(data_ + keep, usable_ - keep);
        usable_ = keep;
    }
}
