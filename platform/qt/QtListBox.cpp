#include "platform/qt/QtListBox.h"

#include "platform/OstrelError.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtString.h"

#include <QScrollBar>

namespace {
TMouseButton ToMouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton:
        return TMouseButton::Right;
    case Qt::MiddleButton:
        return TMouseButton::Middle;
    default:
        return TMouseButton::Left;
    }
}
} // namespace

TQtListBox::TQtListBox(const TControlDecl& decl, QWidget* parent, TDispatch dispatch)
    : TQtWidgetControl(decl.Name, new TQtListView(decl.ItemHeight, parent))
    , m_dispatch(std::move(dispatch))
{
    TQtListView& view = View();
    view.setObjectName(ToQString(decl.Name));
    view.setFrameShape(decl.Border ? QFrame::StyledPanel : QFrame::NoFrame);
    view.setGeometry(decl.Bounds.Left, decl.Bounds.Top, decl.Bounds.Width, decl.Bounds.Height);
    view.setVisible(decl.Visible);

    view.PaintRow = [this](QPainter& painter, int row, const QRect& rect, bool selected, bool focused) {
        if (!OnDrawItem)
            return;
        TQtCanvas canvas(painter);
        const TRect area { rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height() };
        m_dispatch([&] { OnDrawItem(row, area, TOwnerDrawState { selected, focused }, canvas); });
    };
    view.MousePressed = [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
        if (!OnMouseDown)
            return;
        const TShiftState shift { modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
                                  modifiers.testFlag(Qt::AltModifier) };
        m_dispatch([&] { OnMouseDown(ToMouseButton(button), shift, TPoint { at.x(), at.y() }); });
    };
    view.ContextMenuRequested = [this](QPoint at) {
        bool handled = false;
        if (OnContextPopup)
            m_dispatch([&] { OnContextPopup(TPoint { at.x(), at.y() }, handled); });
        return handled;
    };
    view.UserChangedSelection = [this] {
        if (OnClick)
            m_dispatch([&] { OnClick(); });
    };
    view.DoubleClicked = [this] {
        if (OnDblClick)
            m_dispatch([&] { OnDblClick(); });
    };
}

int TQtListBox::RowCount() const
{
    return View().Rows().rowCount();
}

std::string TQtListBox::RowText(int row) const
{
    CheckRow(row);
    return View().Rows().Text(row).toStdString();
}

void TQtListBox::AppendRow(const std::string& text)
{
    View().Rows().AppendRow(ToQString(text));
}

void TQtListBox::SetRowText(int row, const std::string& text)
{
    CheckRow(row);
    View().Rows().SetText(row, ToQString(text));
}

void TQtListBox::SetRowDescription(int row, const std::string& description)
{
    CheckRow(row);
    View().Rows().SetDescription(row, ToQString(description));
}

void TQtListBox::DeleteRow(int row)
{
    CheckRow(row);
    const bool wasSelected = row == View().SelectedRow();
    View().Rows().RemoveRow(row);
    if (wasSelected)
        View().ClearSelectedRow();
}

int TQtListBox::ItemIndex() const
{
    return View().SelectedRow();
}

void TQtListBox::SetItemIndex(int row)
{
    if (row < 0 || row >= RowCount() || row == View().SelectedRow())
        return;
    View().SelectRow(row);
}

void TQtListBox::Invalidate()
{
    View().viewport()->update();
}

int TQtListBox::TopIndex() const
{
    // Scrolling is by whole rows, so the scroll position is the top row.
    return View().verticalScrollBar()->value();
}

TRect TQtListBox::ClientRect() const
{
    const QWidget* client = View().viewport();
    return { 0, 0, client->width(), client->height() };
}

TRect TQtListBox::ItemRect(int row) const
{
    const int top = (row - TopIndex()) * View().RowHeight();
    return { 0, top, View().viewport()->width(), top + View().RowHeight() };
}

TQtListBox::~TQtListBox()
{
    // The view outlives this object by a moment; it must report to nobody meanwhile.
    if (auto* view = static_cast<TQtListView*>(Widget())) {
        view->PaintRow = nullptr;
        view->MousePressed = nullptr;
        view->ContextMenuRequested = nullptr;
        view->UserChangedSelection = nullptr;
        view->DoubleClicked = nullptr;
    }
}

TQtListView& TQtListBox::View() const
{
    auto* view = static_cast<TQtListView*>(Widget());
    if (!view)
        throw EOstrelError("The list no longer exists");
    return *view;
}

void TQtListBox::SetPopupMenu(QMenu* menu)
{
    View().SetPopupMenu(menu);
}

void TQtListBox::CheckRow(int row) const
{
    if (row < 0 || row >= RowCount())
        throw EOstrelError("List index out of bounds (" + std::to_string(row) + ")");
}

std::unique_ptr<TQtListBox> CreateQtListBox(const TControlDecl& decl, QWidget* parent, TDispatch dispatch)
{
    return std::make_unique<TQtListBox>(decl, parent, std::move(dispatch));
}
