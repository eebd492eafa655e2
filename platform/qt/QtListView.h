#pragma once

#include <functional>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <QStringListModel>

// The widget behind TQtListBox: a single-selection list of fixed-height rows
// that the program paints. The view only reports; TQtListBox turns the reports
// into the list's events.
class TQtListView : public QListView
{
public:
    TQtListView(int rowHeight, QWidget* parent);

    QStringListModel& Rows() { return m_rows; }
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
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowPopupMenu(const QPoint& globalPos);

    QStringListModel m_rows;
    int m_rowHeight;
    QPointer<QMenu> m_popupMenu;
};
