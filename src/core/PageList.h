#pragma once

#include "core/PageState.h"

#include <optional>
#include <vector>

// The order of the open pages, which one is shown, who opened whom, and the last ones closed.
// Pages are named by ids that are never reused within a run. It holds no page itself: the
// browser keeps the pages under these ids.
class PageList {
public:
    using Id = int;
    static constexpr int kMaxPages = 50;
    static constexpr int kMaxClosed = 10;

    // Adds a page at the end, opened by `opener` (0: by no page); nothing at kMaxPages. The page
    // shown stays as it was: show() the new one to bring it in front.
    std::optional<Id> open(Id opener = 0);
    // Removes the page; `state` is kept among the closed ones (the oldest goes beyond
    // kMaxClosed). When it was the page shown, the page shown becomes the one that opened it
    // while that one is open, else the page after it, else the one before. Returns the page
    // shown afterwards, 0 when none is left.
    Id close(Id id, PageState state);
    // The last page closed, taken off the closed ones.
    std::optional<PageState> takeClosed();
    const std::vector<PageState>& closed() const { return m_closed; }
    void setClosed(std::vector<PageState> closed);

    void show(Id id);
    Id shown() const { return m_shown; }
    // The page `step` places after the one shown (before it when negative), round the end.
    Id neighbour(int step) const;

    int count() const { return static_cast<int>(m_pages.size()); }
    bool isFull() const { return count() >= kMaxPages; }
    // 0 when out of range.
    Id at(int index) const;
    // -1 when not open.
    int indexOf(Id id) const;
    const std::vector<Id>& ids() const { return m_pages; }

private:
    struct Opened {
        Id id;
        Id opener;
    };
    Id openerOf(Id id) const;

    std::vector<Id> m_pages;
    std::vector<Opened> m_openers;
    std::vector<PageState> m_closed;
    Id m_shown = 0;
    Id m_nextId = 1;
};
