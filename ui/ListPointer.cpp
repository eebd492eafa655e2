#include "ui/ListPointer.h"

#include "list/ComputerList.h"
#include "platform/ListBox.h"

int RowAtPoint(const TListBox& list, TPoint at, bool existing)
{
    if (!list.ClientRect().Contains(at))
        return -1;
    const int count = list.RowCount();
    for (int row = list.TopIndex(); row < count; ++row) {
        const TRect rect = list.ItemRect(row);
        if (rect.Contains(at))
            return row;
        // Rows lie one below the other: none further down can hold the point.
        if (rect.Top > at.Y)
            break;
    }
    return existing ? -1 : count;
}

void SelectRowUnderPointer(const TListBox& list, TComputerList& computers, TPoint at)
{
    computers.SetSelection(RowAtPoint(list, at, false));
}

bool SuppressContextMenu(const TListBox& list, TPoint at)
{
    return RowAtPoint(list, at, true) == -1;
}
