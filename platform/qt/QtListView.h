#pragma once

#include "platform/qt/QtListRows.h"

#include <functional>
#include <QListView>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QPointer>

// The widget behind TQtListBox: a single-selection list of fixed-height rows
// that the program paints. The view only reports; TQtListBox turns the reports
// into the list's events. Assistive technology reads each row's text and description,
// and may select a row, which counts as the user's change.
class TQtListView : public QListView
{
public:
    TQtListView(int rowHeight, QWidget* parent);

    TQtListRows& Rows() { return m_rows; }
    int RowHeight() const { return m_rowHeight; }
    // The selected row, or -1.
    int SelectedRow() const;
    // Selects row as the program does: no report of a user's change.
    void SelectRow(int row);
    void ClearSelectedRow();
    // Shown at the pointer for a context-menu request the program leaves unhandled.
    void SetPopupMenu(QMenu* menu) { m_popupMenu = menu; }

    std::function<void(QPainter& painter, int row, const QRect& rect, bool selected, bool focused)> PaintRow;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at)> MousePressed;
    // at is (-1, -1) for a request from the keyboard; returns true when handled.
    std::function<bool(QPoint at)> ContextMenuRequested;
    std::function<void()> UserChangedSelection;
    std::function<void()> DoubleClicked;

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowPopupMenu(const QPoint& globalPos);
    // A selection that neither the program nor this view's input made came from assistive technology.
    void SelectionChanged();
    // Runs a change of the selection that SelectionChanged leaves alone.
    void OwnSelectionChange(const std::function<void()>& change);
    // A point of the last press, moved along with the row that was under it, so it names
    // that row although the list scrolled meanwhile; outside the list once the row is gone.
    // The button may come up before the program sees the press, so the press is kept until
    // the next one.
    QPoint FollowPressedRow(QPoint at) const;

    TQtListRows m_rows;
    int m_rowHeight;
    // Set during an OwnSelectionChange.
    bool m_changingSelection = false;
    QPointer<QMenu> m_popupMenu;
    // The row under the pointer at the last press, and its top then.
    bool m_pressedOnRow = false;
    QPersistentModelIndex m_pressedRow;
    int m_pressedRowTop = 0;
};
