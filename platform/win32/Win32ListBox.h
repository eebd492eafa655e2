#pragma once

#include "platform/ListBox.h"
#include "platform/win32/RowDescriptions.h"
#include "platform/win32/Win32ChildWindow.h"

class TWin32PopupMenu;

// TListBox over the system's owner-drawn list box with rows of one fixed height. List
// coordinates are the pixels of the list's client area: on a scaled display the rows grow
// with the font, while the offsets and pictures inside a row keep their pixel sizes.
class TWin32ListBox : public TWin32Control<TListBox>
{
public:
    TWin32ListBox(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch);

    int RowCount() const override;
    std::string RowText(int row) const override;
    void AppendRow(const std::string& text) override;
    void SetRowText(int row, const std::string& text) override;
    void SetRowDescription(int row, const std::string& description) override;
    void DeleteRow(int row) override;
    int ItemIndex() const override;
    void SetItemIndex(int row) override;
    void Invalidate() override;
    int TopIndex() const override;
    TRect ClientRect() const override;
    TRect ItemRect(int row) const override;

    // The menu shown at the pointer when OnContextPopup leaves a request unhandled.
    void SetPopupMenu(TWin32PopupMenu* menu) { m_popupMenu = menu; }

    void SetFont(HFONT font, const LOGFONTW& description, unsigned dpi) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    LRESULT Subclassed(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int RowHeight() const;
    void CheckRow(int row) const;
    // Runs the list's own handling of a user's input, then raises OnClick if it moved the selection.
    LRESULT UserInput(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Pressed(UINT message, WPARAM wParam, LPARAM lParam);
    void ContextMenu(LPARAM lParam);
    // A point of the last press, moved along with the row that was under it, so it names that
    // row although the list scrolled meanwhile; outside the list once the row is gone.
    TPoint FollowPressedRow(TPoint at) const;

    const int m_designRowHeight;
    HFONT m_font = nullptr;
    TWin32PopupMenu* m_popupMenu = nullptr;
    // Every row carries a serial number of its own, which no other row ever gets.
    LPARAM m_nextSerial = 1;
    // The row under the pointer at the last press, and its top then; serial 0 when none was.
    LPARAM m_pressedSerial = 0;
    int m_pressedRowTop = 0;
    TRowDescriptions m_descriptions;
};
