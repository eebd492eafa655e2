#include "WindowTestSupport.h"

#include "platform/win32/Win32ChildWindow.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/windows/WideText.h"

#include <algorithm>
#include <chrono>
#include <map>

namespace {

// Typed after the keys a test waits for; nothing in the program reacts to it.
constexpr WORD LastKey = VK_F24;
// How often the thread has taken the last key's release from its queue.
int LastKeysTaken = 0;

LRESULT CALLBACK CountLastKeys(int code, WPARAM key, LPARAM flags)
{
    // HC_ACTION: the message is being taken from the queue; bit 31: the key went up.
    if (code == HC_ACTION && key == LastKey && (flags & (1u << 31)))
        ++LastKeysTaken;
    return CallNextHookEx(nullptr, code, key, flags);
}

std::map<UINT_PTR, std::function<void()>>& PendingActions()
{
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
}

void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    auto& actions = PendingActions();
    const auto found = actions.find(timer);
    if (found == actions.end())
        return;
    const auto action = std::move(found->second);
    actions.erase(found);
    action();
}

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct TWindowSearch
{
    const wchar_t* ClassName;
    HWND Found;
};

BOOL CALLBACK NoteShownWindow(HWND window, LPARAM search)
{
    auto& wanted = *reinterpret_cast<TWindowSearch*>(search);
    if (ClassName(window) != wanted.ClassName || !IsWindowVisible(window))
        return TRUE;
    wanted.Found = window;
    return FALSE;
}

HWND ShownWindowOfClass(const wchar_t* className)
{
    TWindowSearch search = { className, nullptr };
    EnumThreadWindows(GetCurrentThreadId(), NoteShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

BOOL CALLBACK NoteStaticText(HWND child, LPARAM found)
{
    wchar_t text[512] = {};
    if (_wcsicmp(ClassName(child).c_str(), L"Static") == 0 && GetWindowTextW(child, text, 512) > 0)
        reinterpret_cast<std::vector<std::string>*>(found)->push_back(Narrow(text));
    return TRUE;
}

} // namespace

TWindowSession::TWindowSession()
    : m_keyHook(SetWindowsHookExW(WH_KEYBOARD, CountLastKeys, nullptr, GetCurrentThreadId()))
{ }

TWindowSession::~TWindowSession()
{
    UnhookWindowsHookEx(m_keyHook);
    for (const auto& [timer, action] : PendingActions())
        KillTimer(nullptr, timer);
    PendingActions().clear();
}

bool TWindowSession::WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        Application().ProcessMessages();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void TWindowSession::TypeAndWait(const std::vector<WORD>& virtualKeys)
{
    // The keys come in the order typed: once the last key is taken, the ones before it were.
    const int taken = LastKeysTaken;
    auto keys = virtualKeys;
    keys.push_back(LastKey);
    Type(keys);
    EXPECT_TRUE(WaitFor([&] { return LastKeysTaken > taken; }));
}

HWND HandleOf(TControl& control)
{
    return dynamic_cast<TWin32Child&>(control).Handle();
}

void RunSoon(std::function<void()> action)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunPendingAction);
    PendingActions()[timer] = std::move(action);
}

void Type(const std::vector<WORD>& virtualKeys, const std::vector<WORD>& shifted)
{
    std::vector<INPUT> keys;
    for (const WORD key : virtualKeys) {
        const bool shift = std::ranges::find(shifted, key) != shifted.end();
        if (shift)
            keys.push_back(KeyInput(VK_SHIFT, false));
        keys.push_back(KeyInput(key, false));
        keys.push_back(KeyInput(key, true));
        if (shift)
            keys.push_back(KeyInput(VK_SHIFT, true));
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

HWND OpenBox()
{
    return ShownWindowOfClass(L"#32770");
}

HWND OpenMenu()
{
    return ShownWindowOfClass(L"#32768");
}

std::vector<std::string> StaticTexts(HWND window)
{
    std::vector<std::string> texts;
    EnumChildWindows(window, NoteStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}
