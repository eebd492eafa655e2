#pragma once

#include "platform/Types.h"

class TComputerList;
class TListBox;

// Where the pointer is on the list view, and what presses and context-menu
// requests do there.

// The row under at, searched from the first visible row; when no row contains
// it: -1 if existing, otherwise the row count. A point outside the client area
// (the list less its scroll bar) gives -1.
int RowAtPoint(const TListBox& list, TPoint at, bool existing);

// Any button: selects the row under the pointer. A press below the last row
// names no entry, which the list refuses, so the selection stays.
void SelectRowUnderPointer(const TListBox& list, TComputerList& computers, TPoint at);

// True when the request must show no menu: it is not over a row. A request from
// the keyboard arrives as (-1, -1), outside the client area, so it never shows one.
bool SuppressContextMenu(const TListBox& list, TPoint at);
