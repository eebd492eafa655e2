#include "platform/qt/QtListView.h"

#include "platform/common/AccessKey.h"

#include <QAbstractItemDelegate>
#include <QAccessible>
#include <QAction>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

namespace {
// Hands every row to the view's PaintRow and draws nothing of its own: no
// focus outline, no selection highlight.
class TRowDelegate : public QAbstractItemDelegate
{
public:
    explicit TRowDelegate(TQtListView& view)
        : QAbstractItemDelegate(&view)
        , m_view(view)
    { }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!m_view.PaintRow)
            return;
        // The row spans the whole client width, whatever width the layout gave the item.
        const QRect rect(0, option.rect.top(), m_view.viewport()->width(), m_view.RowHeight());
        painter->save();
        painter->setFont(m_view.font());
        m_view.PaintRow(*painter, index.row(), rect, option.state.testFlag(QStyle::State_Selected),
                        option.state.testFlag(QStyle::State_HasFocus));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return { m_view.viewport()->width(), m_view.RowHeight() };
    }

private:
    TQtListView& m_view;
};

// The caption a menu item was declared with, before any access-key marker was added.
QString PlainCaption(QAction& action)
{
    static const char* const property = "plainCaption";
    if (!action.property(property).isValid())
        action.setProperty(property, action.text());
    return action.property(property).toString();
}
} // namespace

TQtListView::TQtListView(int rowHeight, QWidget* parent)
    : QListView(parent)
    , m_rowHeight(rowHeight)
{
    setModel(&m_rows);
    setItemDelegate(new TRowDelegate(*this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    // Below the last row the list shows the window colour, which is the Base role.
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SelectionChanged(); });
}

int TQtListView::SelectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TQtListView::SelectRow(int row)
{
    const QModelIndex index = m_rows.index(row);
    OwnSelectionChange([&] {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
    scrollTo(index);
}

void TQtListView::ClearSelectedRow()
{
    OwnSelectionChange([&] { selectionModel()->clearSelection(); });
}

void TQtListView::OwnSelectionChange(const std::function<void()>& change)
{
    const QScopedValueRollback changing(m_changingSelection, true);
    change();
}

void TQtListView::SelectionChanged()
{
    const int row = SelectedRow();
    if (m_changingSelection || row < 0)
        return;
    // The keyboard goes on from the row chosen, and the focus a screen reader follows is there.
    OwnSelectionChange([&] { selectionModel()->setCurrentIndex(m_rows.index(row), QItemSelectionModel::NoUpdate); });
    // Reported once the request has been answered: opening the row pumps events for a second or
    // more, and the assistive technology waits for its answer meanwhile.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (UserChangedSelection)
                UserChangedSelection();
        },
        Qt::QueuedConnection);
}

void TQtListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    QListView::dataChanged(topLeft, bottomRight, roles);
    // Qt tells assistive technology of changed texts, not of changed descriptions.
    if (!roles.contains(Qt::AccessibleDescriptionRole) || !QAccessible::isActive())
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    }
}

// A single-selection list the user can move but never empty: no Ctrl+click or
// Ctrl+Space deselection, and a press where there is no row keeps the selection.
QItemSelectionModel::SelectionFlags TQtListView::selectionCommand(const QModelIndex& index, const QEvent*) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

void TQtListView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    // The list may scroll before the program sees the press: the click it raises opens the entry, which
    // pumps events, and meanwhile Qt scrolls a partly shown row into view. The row under the pointer at
    // the press is the row meant, so the press and the menu request after it are reported at that row.
    m_pressedRow = indexAt(at);
    m_pressedOnRow = m_pressedRow.isValid();
    m_pressedRowTop = visualRect(m_pressedRow).top();
    if (event->button() == Qt::LeftButton) {
        const int before = SelectedRow();
        OwnSelectionChange([&] { QListView::mousePressEvent(event); });
        if (SelectedRow() != before && UserChangedSelection)
            UserChangedSelection();
    } else {
        // Other buttons leave the selection to the program.
        setFocus(Qt::MouseFocusReason);
    }
    if (MousePressed)
        MousePressed(event->button(), event->modifiers(), FollowPressedRow(at));
}

QPoint TQtListView::FollowPressedRow(QPoint at) const
{
    if (!m_pressedOnRow)
        return at;
    if (!m_pressedRow.isValid())
        return { -1, -1 };
    return at + QPoint(0, visualRect(m_pressedRow).top() - m_pressedRowTop);
}

void TQtListView::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging with a button held does not sweep the selection over the rows:
    // each row passed would otherwise count as a user's change.
    if (event->buttons() == Qt::NoButton)
        QListView::mouseMoveEvent(event);
}

void TQtListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && DoubleClicked)
        DoubleClicked();
}

void TQtListView::keyPressEvent(QKeyEvent* event)
{
    const int before = SelectedRow();
    OwnSelectionChange([&] { QListView::keyPressEvent(event); });
    if (SelectedRow() != before && UserChangedSelection)
        UserChangedSelection();
}

void TQtListView::contextMenuEvent(QContextMenuEvent* event)
{
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QPoint at = fromKeyboard ? QPoint(-1, -1) : FollowPressedRow(event->pos());
    const bool handled = ContextMenuRequested && ContextMenuRequested(at);
    event->accept();
    if (!handled)
        ShowPopupMenu(fromKeyboard ? mapToGlobal(QPoint(0, 0)) : event->globalPos());
}

void TQtListView::ShowPopupMenu(const QPoint& globalPos)
{
    if (!m_popupMenu)
        return;
    for (QAction* action : m_popupMenu->actions())
        if (!action->isSeparator())
            action->setText(QString::fromStdString(WithAccessKey(PlainCaption(*action).toStdString())));
    m_popupMenu->exec(globalPos);
}
