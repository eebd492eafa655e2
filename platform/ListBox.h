#pragma once

#include "platform/Canvas.h"
#include "platform/Controls.h"

#include <functional>
#include <string>

struct TOwnerDrawState
{
    bool Selected = false;
    bool Focused = false;
};

// A single-selection list whose rows, all of one height, the program draws.
// The rows carry their texts so the control's own type-ahead works on them.
// List coordinates: 96-dpi pixels (Types.h) from the client area's top left corner.
class TListBox : public TControl
{
public:
    virtual int RowCount() const = 0;
    virtual std::string RowText(int row) const = 0;
    virtual void AppendRow(const std::string& text) = 0;
    // Changes the row's text; its description stays.
    virtual void SetRowText(int row, const std::string& text) = 0;
    // What assistive technology, a screen reader say, tells of the row after its text; empty
    // for nothing. A new row has none; a deleted row's goes with it. Backends announce a change.
    virtual void SetRowDescription(int row, const std::string& description) = 0;
    // Removes the row; removing the selected row leaves no row selected.
    virtual void DeleteRow(int row) = 0;
    // The selected row, or -1.
    virtual int ItemIndex() const = 0;
    // Selects row without raising OnClick; an index outside 0..RowCount()-1 is refused.
    virtual void SetItemIndex(int row) = 0;
    // Asks for every visible row to be drawn again, once the UI thread is back in its
    // event loop: a flood of changes taken in one pump is drawn once, not once per change.
    virtual void Invalidate() = 0;
    // First visible row after scrolling.
    virtual int TopIndex() const = 0;
    // The client area in list coordinates, less the scroll bar when one is shown.
    virtual TRect ClientRect() const = 0;
    // Rectangle of row in list coordinates (full client width by one row height).
    virtual TRect ItemRect(int row) const = 0;

    std::function<void(int row, const TRect& rect, TOwnerDrawState state, TCanvas& canvas)> OnDrawItem;
    // Raised after the list's own handling of the press. Should the list scroll
    // meanwhile (its click may open an entry, which pumps events), at and the
    // position of the menu request that follows the press still name the row that
    // was under the pointer at the press, and lie outside the list once it is gone.
    std::function<void(TMouseButton button, TShiftState shift, TPoint at)> OnMouseDown;
    // at is (-1, -1) for a request from the keyboard; set handled to suppress the popup menu.
    std::function<void(TPoint at, bool& handled)> OnContextPopup;
    // Raised when the user changes the selection with the primary button, the keyboard, or
    // through assistive technology (activating a row that is not selected).
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
};
