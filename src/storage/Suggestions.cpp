#include "storage/Suggestions.h"

#include "core/DisplayText.h"
#include "core/QvError.h"
#include "core/UrlTools.h"
#include "storage/NoCaseCollation.h"
#include "storage/SiteStore.h"

#include <QSet>

#include <algorithm>
#include <cstring>

namespace {

constexpr char kFieldEnd = '\x1f';
constexpr char kEntryEnd = '\n';

// Folded as the row shows it (one line, without bidi controls), with control characters as
// blanks: no separator can appear inside a field.
void appendFolded(std::string& out, const QString& text)
{
    std::string folded = foldNoCase(DisplayText::oneLine(text).toStdString());
    for (char& c : folded) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    out += folded;
}

// Addresses as the site list opens them, which is how a suggestion opens them too; none longer
// than the program keeps.
std::vector<Suggestion> readSaved(const QString& linksPath)
{
    std::vector<Suggestion> saved;
    for (SiteStore::Site& s : SiteStore::sites(linksPath, SiteStore::Addresses::ForOpening)) {
        if (s.url.size() <= kMaxAddressLength)
            saved.push_back({std::move(s.title), std::move(s.url), true});
    }
    return saved;
}

} // namespace

SuggestionIndex::SuggestionIndex(std::vector<Suggestion> saved,
                                 const std::vector<HistoryRow>& history)
{
    m_entries.reserve(saved.size() + history.size());
    m_starts.reserve(saved.size() + history.size() + 1);
    QSet<QString> savedUrls;
    for (Suggestion& s : saved) {
        savedUrls.insert(s.url);
        s.saved = true;
        add(std::move(s));
    }
    for (const HistoryRow& row : history) {
        if (!savedUrls.contains(row.url))
            add({row.title.isEmpty() ? row.url : row.title, row.url, false});
    }
    m_starts.push_back(m_folded.size());
}

void SuggestionIndex::add(Suggestion entry)
{
    m_starts.push_back(m_folded.size());
    appendFolded(m_folded, entry.title);
    m_folded += kFieldEnd;
    appendFolded(m_folded, entry.url);
    m_folded += kEntryEnd;
    m_entries.push_back(std::move(entry));
}

std::shared_ptr<const SuggestionIndex> SuggestionIndex::load(const QString& linksPath,
                                                             const QString& historyPath)
{
    std::vector<Suggestion> saved = readSaved(linksPath);
    std::vector<HistoryRow> history;
    try {
        history = HistoryStore::readAll(historyPath);
    } catch (const QvError& e) {
        qWarning("quorvane: no history suggestions: %s", qPrintable(e.message()));
    }
    return std::make_shared<const SuggestionIndex>(std::move(saved), history);
}

SuggestionQuery::SuggestionQuery(std::shared_ptr<const SuggestionIndex> index)
    : m_index(std::move(index))
{
}

const std::vector<size_t>& SuggestionQuery::find(const QString& text)
{
    std::string folded;
    appendFolded(folded, text);
    // Every word of a text that only grew lies within a word of the new text: what did not
    // match before cannot match now.
    const bool grew = !m_text.empty() && folded.starts_with(m_text);
    m_text = folded;
    m_words.clear();
    for (size_t i = 0; i < folded.size();) {
        const size_t end = std::min(folded.find(' ', i), folded.size());
        if (end > i)
            m_words.push_back(folded.substr(i, end - i));
        i = end + 1;
    }
    // The longest word is looked for first: the fewest places hold it.
    std::stable_sort(
        m_words.begin(), m_words.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    if (!grew) {
        m_found.clear();
        m_next = 0;
    } else {
        std::erase_if(m_found, [this](size_t e) { return !matches(e, SIZE_MAX); });
    }
    if (m_words.empty()) {
        m_found.clear();
        m_next = 0;
        m_text.clear();
        return m_found;
    }
    scan();
    return m_found;
}

bool SuggestionQuery::matches(size_t entry, size_t skipWord) const
{
    const SuggestionIndex& ix = *m_index;
    const std::string_view text(ix.m_folded.data() + ix.m_starts[entry],
                                ix.m_starts[entry + 1] - ix.m_starts[entry]);
    for (size_t w = 0; w < m_words.size(); ++w) {
        if (w != skipWord && text.find(m_words[w]) == std::string_view::npos)
            return false;
    }
    return true;
}

void SuggestionQuery::scan()
{
    const SuggestionIndex& ix = *m_index;
    const std::string& first = m_words.front();
    const char* const base = ix.m_folded.data();
    const size_t total = ix.m_folded.size();
    while (m_found.size() < kMax && m_next < ix.size()) {
        const size_t from = ix.m_starts[m_next];
        const void* hit = memmem(base + from, total - from, first.data(), first.size());
        if (!hit) {
            m_next = ix.size();
            break;
        }
        const size_t at = size_t(static_cast<const char*>(hit) - base);
        const auto it = std::upper_bound(ix.m_starts.begin(), ix.m_starts.end(), at);
        const size_t entry = size_t(it - ix.m_starts.begin()) - 1;
        m_next = entry + 1;
        if (matches(entry, 0))
            m_found.push_back(entry);
    }
}
