#pragma once

// How the current word's associations fall into pages of eight, and which page shows.
// Counts of any size page through all their associations; no empty page is offered.
class RingPages
{
public:
    static constexpr int pageSize = 8;

    // A new centre word with count associations: page 1.
    void start(int count);

    int currentPage() const { return currentPage_; }
    int itemsOnPage() const { return pageItemCount(currentPage_); }
    // The 1-based association shown first on the current page.
    int firstAssociation() const { return (currentPage_ - 1) * pageSize + 1; }

    bool previousShown() const { return paged() && currentPage_ > 1; }
    bool nextShown() const { return paged() && currentPage_ < lastPage(); }

    // The paging buttons; a page outside 1..lastPage is never reached.
    void previous();
    void next();

private:
    // Associations on page p: 8 on the full pages, the remainder after them, else 0.
    int pageItemCount(int p) const;
    bool paged() const { return fullPageCount_ * pageSize + lastPageCount_ > pageSize; }
    int lastPage() const;

    int fullPageCount_ = 0;
    int lastPageCount_ = 0;
    int currentPage_ = 1;
};
