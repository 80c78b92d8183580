#include "core/PageList.h"

#include <algorithm>

std::optional<PageList::Id> PageList::open(Id opener)
{
    if (isFull())
        return std::nullopt;
    const Id id = m_nextId++;
    m_pages.push_back(id);
    m_openers.push_back({id, opener});
    if (!m_shown)
        m_shown = id;
    return id;
}

PageList::Id PageList::close(Id id, PageState state)
{
    const int index = indexOf(id);
    if (index < 0)
        return m_shown;
    m_closed.push_back(std::move(state));
    if (m_closed.size() > kMaxClosed)
        m_closed.erase(m_closed.begin());
    const Id opener = openerOf(id);
    m_pages.erase(m_pages.begin() + index);
    std::erase_if(m_openers, [id](const Opened& o) { return o.id == id; });
    if (m_shown != id)
        return m_shown;
    if (indexOf(opener) >= 0)
        m_shown = opener;
    else if (m_pages.empty())
        m_shown = 0;
    else
        m_shown = m_pages[std::min<size_t>(index, m_pages.size() - 1)];
    return m_shown;
}

std::optional<PageState> PageList::takeClosed()
{
    if (m_closed.empty())
        return std::nullopt;
    PageState last = std::move(m_closed.back());
    m_closed.pop_back();
    return last;
}

void PageList::setClosed(std::vector<PageState> closed)
{
    if (closed.size() > kMaxClosed)
        closed.erase(closed.begin(), closed.end() - kMaxClosed);
    m_closed = std::move(closed);
}

void PageList::show(Id id)
{
    if (indexOf(id) >= 0)
        m_shown = id;
}

PageList::Id PageList::neighbour(int step) const
{
    if (m_pages.empty())
        return 0;
    const int n = count();
    const int from = std::max(indexOf(m_shown), 0);
    return m_pages[((from + step) % n + n) % n];
}

PageList::Id PageList::at(int index) const
{
    return index >= 0 && index < count() ? m_pages[index] : 0;
}

int PageList::indexOf(Id id) const
{
    const auto it = std::find(m_pages.begin(), m_pages.end(), id);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

PageList::Id PageList::openerOf(Id id) const
{
    const auto it = std::find_if(m_openers.begin(), m_openers.end(),
                                 [id](const Opened& o) { return o.id == id; });
    return it == m_openers.end() ? 0 : it->opener;
}
