#pragma once

#include <QWidget>

class QPainter;

// A list in the skin of the small windows, painted: black, rows of one height, the current row
// filled and framed in cyan, a faint rule between the others, a text of its own when it is
// empty. The current row is kept in view. What a row shows is the subclass's.
class PaintedList : public QWidget {
    Q_OBJECT
public:
    PaintedList(QWidget* parent, const QString& name, int rowHeight, int rowsShown);

    int count() const { return m_count; }
    // The current row, or -1 when the list is empty.
    int current() const { return m_current; }
    // Up and Down: the current row moves, never past either end.
    void step(int delta);
    void setCurrent(int row);

Q_SIGNALS:
    // A left button went down and up on this row (going down, it made the row current).
    void rowClicked(int row);

protected:
    // The rows are now count: the current one stays where it was, or on the last one when the
    // list got shorter.
    void setCount(int count);
    // Paints the contents of a row inside box; its background and frame are painted already.
    virtual void paintRow(QPainter& p, int row, const QRect& box) const = 0;
    virtual QString emptyText() const = 0;
    // What a screen reader is told of the current row; nothing by default.
    virtual QString spokenRow(int) const { return {}; }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void keepInView();
    int rowAt(const QPointF& position) const;

    const int m_rowHeight;
    const int m_rowsShown;
    int m_count = 0;
    int m_current = -1;
    int m_top = 0;
    int m_pressed = -1;
};
