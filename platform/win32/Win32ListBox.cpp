#include "platform/win32/Win32ListBox.h"

#include "platform/OstrelError.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32PopupMenu.h"
#include "platform/windows/WideText.h"

#include <windowsx.h>

namespace {

constexpr int DesignDpi = 96;

TMouseButton ButtonOf(UINT message)
{
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        return TMouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return TMouseButton::Middle;
    default:
        return TMouseButton::Left;
    }
}

TShiftState ShiftOf(WPARAM keys)
{
    return { (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0 };
}

} // namespace

TWin32ListBox::TWin32ListBox(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch)
    // No LBS_NOTIFY: the click is read from the user's input itself (UserInput). The list's
    // own notification comes only as the button goes up, after the press was reported, and
    // also for a click that changed nothing.
    : TWin32Control(decl.Name,
                    CreateChildWindow(decl, WC_LISTBOXW,
                                      LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                                      decl.Border ? WS_EX_CLIENTEDGE : 0, parent, id),
                    std::move(dispatch))
    , m_designRowHeight(decl.ItemHeight)
    , m_descriptions(Handle())
{
    Subclass();
}

int TWin32ListBox::RowCount() const
{
    return static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
}

std::string TWin32ListBox::RowText(int row) const
{
    CheckRow(row);
    const auto length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

void TWin32ListBox::AppendRow(const std::string& text)
{
    const auto row = SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (row < 0)
        throw EOstrelError("Not enough memory for another row of the list");
    SendMessageW(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(row), m_nextSerial++);
    m_descriptions.RowAppended();
}

void TWin32ListBox::SetRowText(int row, const std::string& text)
{
    CheckRow(row);
    // The system's list cannot change a row's text: the row is made anew in its place.
    const auto index = static_cast<WPARAM>(row);
    const LRESULT serial = SendMessageW(Handle(), LB_GETITEMDATA, index, 0);
    const bool selected = ItemIndex() == row;
    const int top = TopIndex();
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Handle(), LB_DELETESTRING, index, 0);
    const auto inserted = SendMessageW(Handle(), LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (inserted >= 0) {
        SendMessageW(Handle(), LB_SETITEMDATA, index, serial);
        if (selected)
            SendMessageW(Handle(), LB_SETCURSEL, index, 0);
        SendMessageW(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    Invalidate();
    if (inserted < 0)
        throw EOstrelError("Not enough memory for the row's new text");
}

void TWin32ListBox::SetRowDescription(int row, const std::string& description)
{
    CheckRow(row);
    m_descriptions.Set(row, Widen(description));
}

void TWin32ListBox::DeleteRow(int row)
{
    CheckRow(row);
    // The system's list leaves no row selected when the selected one goes.
    SendMessageW(Handle(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    m_descriptions.RowDeleted(row);
}

int TWin32ListBox::ItemIndex() const
{
    return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

void TWin32ListBox::SetItemIndex(int row)
{
    // The system's list tells its form nothing of a selection the program makes.
    if (row < 0 || row >= RowCount() || row == ItemIndex())
        return;
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void TWin32ListBox::Invalidate()
{
    InvalidateRect(Handle(), nullptr, TRUE);
}

int TWin32ListBox::TopIndex() const
{
    return static_cast<int>(SendMessageW(Handle(), LB_GETTOPINDEX, 0, 0));
}

TRect TWin32ListBox::ClientRect() const
{
    RECT client = {};
    GetClientRect(Handle(), &client);
    return { client.left, client.top, client.right, client.bottom };
}

TRect TWin32ListBox::ItemRect(int row) const
{
    const int top = (row - TopIndex()) * RowHeight();
    return { 0, top, ClientRect().Right, top + RowHeight() };
}

int TWin32ListBox::RowHeight() const
{
    return static_cast<int>(SendMessageW(Handle(), LB_GETITEMHEIGHT, 0, 0));
}

void TWin32ListBox::CheckRow(int row) const
{
    if (row < 0 || row >= RowCount())
        throw EOstrelError("List index out of bounds (" + std::to_string(row) + ")");
}

void TWin32ListBox::SetFont(HFONT font, const LOGFONTW& description, unsigned dpi)
{
    TWin32Child::SetFont(font, description, dpi);
    m_font = font;
    // The rows grow with the font on a scaled display.
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, MulDiv(m_designRowHeight, static_cast<int>(dpi), DesignDpi));
}

void TWin32ListBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    // The list asks for a focus outline on its own (ODA_FOCUS), also for an empty list: none is
    // ever drawn, so the row with the focus looks like the others.
    if (item.itemID == static_cast<UINT>(-1) || item.itemAction == ODA_FOCUS)
        return;
    TWin32Canvas canvas(item.hDC, m_font);
    const RECT& area = item.rcItem;
    const TRect rect { area.left, area.top, area.right, area.bottom };
    const TOwnerDrawState state { (item.itemState & ODS_SELECTED) != 0, (item.itemState & ODS_FOCUS) != 0 };
    Raise(OnDrawItem, static_cast<int>(item.itemID), rect, state, static_cast<TCanvas&>(canvas));
}

LRESULT TWin32ListBox::Subclassed(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return Pressed(message, wParam, lParam);
    case WM_MOUSEMOVE:
        // Dragging with a button held does not sweep the selection over the rows: each row
        // passed would otherwise count as a user's change.
        if (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))
            return 0;
        break;
    case WM_KEYDOWN:
    case WM_CHAR:
        return UserInput(message, wParam, lParam);
    case WM_CONTEXTMENU:
        ContextMenu(lParam);
        return 0;
    default:
        break;
    }
    return DefaultProcedure(message, wParam, lParam);
}

LRESULT TWin32ListBox::UserInput(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int before = ItemIndex();
    const LRESULT result = DefaultProcedure(message, wParam, lParam);
    if (ItemIndex() != before)
        Raise(OnClick);
    return result;
}

LRESULT TWin32ListBox::Pressed(UINT message, WPARAM wParam, LPARAM lParam)
{
    const TPoint at { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    // The list may scroll before the program sees the press: the click it raises opens the
    // entry, which pumps events, and meanwhile the list scrolls a partly shown row into view.
    // The row under the pointer at the press is the row meant, so the press and the menu
    // request after it are reported at that row.
    const TRect client = ClientRect();
    const int row = client.Contains(at) ? TopIndex() + at.Y / RowHeight() : -1;
    const bool onRow = row >= 0 && row < RowCount();
    m_pressedSerial = onRow ? SendMessageW(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0) : 0;
    m_pressedRowTop = onRow ? ItemRect(row).Top : 0;

    LRESULT result = 0;
    if (ButtonOf(message) == TMouseButton::Left)
        result = UserInput(message, wParam, lParam);
    else
        // Other buttons leave the selection to the program.
        ::SetFocus(Handle());
    Raise(OnMouseDown, ButtonOf(message), ShiftOf(wParam), FollowPressedRow(at));
    if (message == WM_LBUTTONDBLCLK)
        Raise(OnDblClick);
    return result;
}

TPoint TWin32ListBox::FollowPressedRow(TPoint at) const
{
    if (m_pressedSerial == 0)
        return at;
    const int count = RowCount();
    for (int row = 0; row < count; ++row) {
        if (SendMessageW(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0) == m_pressedSerial)
            return { at.X, at.Y + ItemRect(row).Top - m_pressedRowTop };
    }
    return { -1, -1 };
}

void TWin32ListBox::ContextMenu(LPARAM lParam)
{
    POINT screen = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    // The context-menu key and Shift+F10 send (-1, -1) in place of the pointer's position.
    const bool fromKeyboard = screen.x == -1 && screen.y == -1;
    TPoint at { -1, -1 };
    if (!fromKeyboard) {
        POINT client = screen;
        ScreenToClient(Handle(), &client);
        at = FollowPressedRow({ client.x, client.y });
    }
    bool handled = false;
    Raise(OnContextPopup, at, handled);
    if (handled || !m_popupMenu)
        return;
    if (fromKeyboard) {
        screen = {};
        ClientToScreen(Handle(), &screen);
    }
    m_popupMenu->Popup(GetAncestor(Handle(), GA_ROOT), screen);
}
