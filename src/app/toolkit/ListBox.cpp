#include "ListBox.h"

#include "Fonts.h"
#include "ShownText.h"

#include <QAbstractListModel>

namespace pelko {
namespace {

class EmptySource : public ListSource
{
public:
    int count() const override { return 0; }
    QString text(int) const override { return {}; }
    int data(int) const override { return 0; }
};

} // namespace

class ListBox::Model : public QAbstractListModel
{
public:
    explicit Model(QObject *parent)
        : QAbstractListModel(parent), source(std::make_shared<EmptySource>())
    {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : count;
    }

    // QListView lays out every row after a reset and asks for each row's index twice on the
    // way; the inherited index() makes four virtual calls to check the row, this makes none.
    QModelIndex index(int row, int column = 0, const QModelIndex &parent = {}) const override
    {
        if (parent.isValid() || column != 0 || row < 0 || row >= count)
            return {};
        return createIndex(row, 0);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= count)
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return shownText(source->text(index.row()), kShownLineChars);
        return {};
    }

    void reset(std::shared_ptr<const ListSource> newSource)
    {
        beginResetModel();
        source = std::move(newSource);
        count = source->count();
        endResetModel();
    }

    std::shared_ptr<const ListSource> source;
    int count = 0; // the source's, asked once: the view asks for it with every index
};

ListBox::ListBox(QWidget *parent) : QListView(parent), m_model(new Model(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    if (const QFont plain = listFont(font()); plain != font())
        setFont(plain);
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

void ListBox::setSource(std::shared_ptr<const ListSource> source)
{
    m_silent = true;
    m_model->reset(source ? std::move(source) : std::make_shared<EmptySource>());
    if (m_model->count > 0) {
        // After a reset the view lays out every row; given a grid of the rows' own size it
        // steps each row by the grid instead of asking for the row's size. With uniform rows
        // the view takes that size from the last row, and so does this.
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex last = m_model->index(m_model->count - 1);
        setGridSize(itemDelegateForIndex(last)->sizeHint(option, last));
    }
    selectionModel()->clear();
    m_silent = false;
}

void ListBox::clear()
{
    setSource(nullptr);
}

int ListBox::listCount() const
{
    return m_model->rowCount();
}

QString ListBox::text(int index) const
{
    if (index < 0 || index >= listCount())
        return {};
    return m_model->source->text(index);
}

int ListBox::itemData(int index) const
{
    if (index < 0 || index >= listCount())
        return 0;
    return m_model->source->data(index);
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
