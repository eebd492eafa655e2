#pragma once

#include "platform/common/PageMenu.h"
#include "platform/windows/WindowsApi.h"

#include <oaidl.h>
#include <optional>
#include <string>

// The page's context menu (PageMenu.h) shown at a screen point over owner, until the user
// chooses an item or leaves the menu; the command chosen, if any.
std::optional<TPageCommand> TrackPageMenu(HWND owner, POINT at, const TPagePlace& place);

// The address of the link that element, an element of a page, is or lies in, as the page
// resolves it; empty outside a link.
std::wstring LinkAddress(IDispatch* element);

// Puts text on the clipboard; a clipboard another program holds stays as it was.
void CopyText(HWND owner, const std::wstring& text);
