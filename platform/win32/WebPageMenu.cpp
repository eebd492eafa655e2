#include "platform/win32/WebPageMenu.h"

#include "platform/win32/ComPtr.h"
#include "platform/win32/UniqueBstr.h"
#include "platform/win32/UniqueMenu.h"
#include "platform/windows/WideText.h"

#include <cstring>
#include <mshtml.h>
#include <vector>

std::optional<TPageCommand> TrackPageMenu(HWND owner, POINT at, const TPagePlace& place)
{
    const std::vector<TPageMenuItem> items = PageMenuItems(place);
    const TUniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return std::nullopt;
    // Item n has the command n + 1: TrackPopupMenu reports 0 when nothing was chosen.
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].StartsGroup)
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu.Get(), MF_STRING | (items[i].Enabled ? 0u : MF_GRAYED), i + 1,
                    Widen(items[i].Caption).c_str());
    }
    const auto chosen = static_cast<std::size_t>(TrackPopupMenu(
        menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
    if (chosen == 0 || chosen > items.size())
        return std::nullopt;
    return items[chosen - 1].Command;
}

std::wstring LinkAddress(IDispatch* element)
{
    TComPtr<IHTMLElement> current = TComPtr<IDispatch>::Share(element).As<IHTMLElement>();
    while (current) {
        if (const auto anchor = current.As<IHTMLAnchorElement>()) {
            BSTR href = nullptr;
            if (FAILED(anchor->get_href(&href)))
                return {};
            const TUniqueBstr owner(href);
            return std::wstring(href ? href : L"", SysStringLen(href));
        }
        TComPtr<IHTMLElement> parent;
        if (FAILED(current->get_parentElement(parent.Put())))
            return {};
        current = std::move(parent);
    }
    return {};
}

void CopyText(HWND owner, const std::wstring& text)
{
    if (!OpenClipboard(owner))
        return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* target = memory ? GlobalLock(memory) : nullptr;
    if (target) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
    }
    // The clipboard owns the memory once it takes it.
    if (memory && (!target || !SetClipboardData(CF_UNICODETEXT, memory)))
        GlobalFree(memory);
    CloseClipboard();
}
