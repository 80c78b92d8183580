#pragma once

#include <QListView>

#include <vector>

class ListBoxModel;

// A list box of texts with an id each. It draws from a model holding the rows as two arrays,
// so filling it costs what the rows on screen cost, not one widget item per row. A row shows its
// text as one line (DisplayText::oneLine); text() gives it as it was set.
class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent);

    // Replaces every row (texts[i] carries ids[i]); leaves no current row and no selection.
    void setRows(QList<QString> texts, std::vector<qint64> ids);
    void addRow(const QString& text, qint64 id);

    int count() const;
    QString text(int row) const;
    qint64 id(int row) const;
    // The first row carrying the id, or -1.
    int rowOfId(qint64 id) const;
    bool isRowSelected(int row) const;
    int currentRow() const;
    // As a list widget does: in a multiple selection the row also becomes the selection.
    void
    setCurrentRow(int row,
                  QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::SelectCurrent);
    // Scrolls the row into view; the current row and the selection stay as they are.
    void showRow(int row);

Q_SIGNALS:
    void currentRowChanged(int row);

private:
    ListBoxModel* m_model;
};
