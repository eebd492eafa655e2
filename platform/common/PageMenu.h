#pragma once

#include <string>
#include <vector>

// A web page's context menu, the same in every web view: only what the view carries out.
// Back and Forward are always there, disabled at the ends of the history; Copy comes with
// selected text, the link's items on a link.
enum class TPageCommand { Back, Forward, Reload, Copy, CopyLinkAddress, OpenLinkInBrowser };

// Where the menu was asked for.
struct TPagePlace
{
    bool CanGoBack = false;
    bool CanGoForward = false;
    bool HasSelection = false;
    bool OnLink = false;
};

struct TPageMenuItem
{
    TPageCommand Command;
    std::string Caption;
    bool Enabled;
    bool StartsGroup; // a separator goes before it
};

std::vector<TPageMenuItem> PageMenuItems(const TPagePlace& place);
