#include "board/RingPages.h"

void RingPages::start(int count)
{
    if (count < 0)
        count = 0;
    fullPageCount_ = count / pageSize;
    lastPageCount_ = count % pageSize;
    currentPage_ = 1;
}

int RingPages::pageItemCount(int p) const
{
    if (p >= 1 && p <= fullPageCount_)
        return pageSize;
    if (p == fullPageCount_ + 1)
        return lastPageCount_;
    return 0;
}

int RingPages::lastPage() const
{
    // A count that is a multiple of eight ends on its last full page, not on an empty one.
    if (lastPageCount_ == 0 && fullPageCount_ > 0)
        return fullPageCount_;
    return fullPageCount_ + 1;
}

void RingPages::previous()
{
    if (currentPage_ > 1)
        --currentPage_;
}

void RingPages::next()
{
    if (currentPage_ < lastPage())
        ++currentPage_;
}
