#include "ListBox.h"

#include "TextBox.h"

#include <QScrollBar>

namespace pelko {

class ListBox::Model : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(items.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return shownText(items[static_cast<std::size_t>(index.row())].text, kShownLineChars);
        return {};
    }

    void reset(std::vector<Item> newItems)
    {
        beginResetModel();
        items = std::move(newItems);
        endResetModel();
    }

    std::vector<Item> items;
};

ListBox::ListBox(QWidget *parent) : QListView(parent), m_model(new Model(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Click follows the selected entry, not the current one: QAbstractItemView moves its current
    // index to the first row when it gains the focus, without selecting anything.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &, const QItemSelection &) {
                if (!m_silent)
                    Q_EMIT Click();
            });
}

void ListBox::setItems(std::vector<Item> items)
{
    m_silent = true;
    m_model->reset(std::move(items));
    selectionModel()->clear();
    m_silent = false;
}

void ListBox::clear()
{
    setItems({});
}

int ListBox::listCount() const
{
    return m_model->rowCount();
}

QString ListBox::text(int index) const
{
    if (index < 0 || index >= listCount())
        return {};
    return m_model->items[static_cast<std::size_t>(index)].text;
}

int ListBox::itemData(int index) const
{
    if (index < 0 || index >= listCount())
        return 0;
    return m_model->items[static_cast<std::size_t>(index)].data;
}

int ListBox::listIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ListBox::setListIndex(int index)
{
    if (index < 0 || index >= listCount()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(m_model->index(index), QItemSelectionModel::ClearAndSelect);
}

int ListBox::topIndex() const
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void ListBox::setTopIndex(int index)
{
    if (index < 0 || index >= listCount())
        return;
    // With uniform rows the scroll bar counts rows, so this is exact even before a paint.
    scrollTo(m_model->index(index), QAbstractItemView::PositionAtTop);
}

} // namespace pelko
