#include "forms/ListBox.h"

#include "core/DisplayText.h"

#include <QAbstractListModel>

#include <algorithm>

class ListBoxModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_texts.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid))
            return {};
        if (role == Qt::DisplayRole)
            return DisplayText::oneLine(m_texts.at(index.row()));
        if (role == Qt::EditRole)
            return m_texts.at(index.row());
        if (role == Qt::UserRole)
            return qlonglong(m_ids[size_t(index.row())]);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren
                               : Qt::NoItemFlags;
    }

    void reset(QList<QString> texts, std::vector<qint64> ids)
    {
        beginResetModel();
        m_texts = std::move(texts);
        m_ids = std::move(ids);
        m_ids.resize(size_t(m_texts.size()));
        endResetModel();
    }

    void append(const QString& text, qint64 id)
    {
        const int row = int(m_texts.size());
        beginInsertRows({}, row, row);
        m_texts.append(text);
        m_ids.push_back(id);
        endInsertRows();
    }

    QList<QString> m_texts;
    std::vector<qint64> m_ids;
};

ListBox::ListBox(QWidget* parent)
    : QListView(parent)
    , m_model(new ListBoxModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { Q_EMIT currentRowChanged(current.row()); });
}

void ListBox::setRows(QList<QString> texts, std::vector<qint64> ids)
{
    m_model->reset(std::move(texts), std::move(ids));
    // The reset leaves no selection; the empty current index set through the view also keeps
    // it from making the first row current when it takes focus.
    setCurrentIndex(QModelIndex());
}

void ListBox::addRow(const QString& text, qint64 id) { m_model->append(text, id); }

int ListBox::count() const { return m_model->rowCount(); }

QString ListBox::text(int row) const { return m_model->m_texts.value(row); }

qint64 ListBox::id(int row) const
{
    return row >= 0 && row < count() ? m_model->m_ids[size_t(row)] : 0;
}

int ListBox::rowOfId(qint64 id) const
{
    const auto& ids = m_model->m_ids;
    const auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : int(it - ids.begin());
}

bool ListBox::isRowSelected(int row) const
{
    return selectionModel()->isRowSelected(row, rootIndex());
}

int ListBox::currentRow() const { return currentIndex().row(); }

void ListBox::setCurrentRow(int row, QItemSelectionModel::SelectionFlags flags)
{
    selectionModel()->setCurrentIndex(m_model->index(row), flags);
}

void ListBox::showRow(int row)
{
    if (row >= 0 && row < count())
        scrollTo(m_model->index(row), EnsureVisible);
}
