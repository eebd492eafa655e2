#include "platform/common/PageMenu.h"

std::vector<TPageMenuItem> PageMenuItems(const TPagePlace& place)
{
    std::vector<TPageMenuItem> items {
        { TPageCommand::Back, "Back", place.CanGoBack, false },
        { TPageCommand::Forward, "Forward", place.CanGoForward, false },
        { TPageCommand::Reload, "Reload", true, false },
    };
    if (place.HasSelection)
        items.push_back({ TPageCommand::Copy, "Copy", true, true });
    if (place.OnLink) {
        items.push_back({ TPageCommand::CopyLinkAddress, "Copy link address", true, true });
        items.push_back({ TPageCommand::OpenLinkInBrowser, "Open link in browser", true, false });
    }
    return items;
}
