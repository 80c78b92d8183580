#pragma once

#include "storage/Suggestions.h"

#include <QWidget>

#include <vector>

// The suggestions under the address window's text box: one row each, the title above the
// address, saved sites marked with a star; the current row highlighted.
class SuggestionList : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 30;

    explicit SuggestionList(QWidget* parent);

    // No row is current after a new list.
    void setSuggestions(std::vector<Suggestion> suggestions);
    const std::vector<Suggestion>& suggestions() const { return m_items; }

    // -1 for none (the text box's own text counts).
    int current() const { return m_current; }
    // Down and Up: through the rows, and from the first one back to none.
    void step(int delta);

Q_SIGNALS:
    void picked(int row);
    // After each paint: the benchmark measures from the key to here.
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintRow(QPainter& p, int row);

    std::vector<Suggestion> m_items;
    int m_current = -1;
};
