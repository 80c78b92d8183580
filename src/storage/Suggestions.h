#pragma once

#include "storage/HistoryStore.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

struct Suggestion {
    QString title;
    QString url;
    bool saved = false;
};

// Saved sites and visited pages in the order suggestions are offered: saved sites first (in the
// list's order), then the history, most visited first, then most recent. An address that is
// saved appears once, as saved. Each entry is kept folded as the list's order folds (case and
// accents), for matching.
class SuggestionIndex {
public:
    SuggestionIndex(std::vector<Suggestion> saved, const std::vector<HistoryRow>& history);

    // From the site list (addresses as the list opens them: decoded, trimmed) and the history
    // file; a history that cannot be read adds nothing (its writer tells the user). Slow on large
    // files: meant for a worker thread.
    static std::shared_ptr<const SuggestionIndex> load(const QString& linksPath,
                                                       const QString& historyPath);

    size_t size() const { return m_entries.size(); }
    const Suggestion& at(size_t i) const { return m_entries[i]; }

private:
    friend class SuggestionQuery;
    void add(Suggestion entry);

    std::vector<Suggestion> m_entries;
    // The folded texts one after another ("title\x1faddress\n"), entry i from m_starts[i].
    std::string m_folded;
    std::vector<size_t> m_starts;
};

// The suggestions for the text typed, keystroke after keystroke: every word of the text within
// the title or the address, at most kMax, in the index's order. The scan stops at the kMax-th
// match; when the text only grew, the next one goes on from there with the matches so far.
class SuggestionQuery {
public:
    static constexpr size_t kMax = 8;

    explicit SuggestionQuery(std::shared_ptr<const SuggestionIndex> index);

    // Positions in the index; none for a text without words.
    const std::vector<size_t>& find(const QString& text);
    const SuggestionIndex& index() const { return *m_index; }

private:
    bool matches(size_t entry, size_t skipWord) const;
    void scan();

    std::shared_ptr<const SuggestionIndex> m_index;
    std::string m_text; // folded
    std::vector<std::string> m_words;
    std::vector<size_t> m_found;
    size_t m_next = 0; // the first entry not yet scanned
};
