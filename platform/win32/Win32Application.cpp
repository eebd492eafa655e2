#include "platform/win32/Win32Application.h"

#include "platform/OstrelError.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/WindowClass.h"
#include "platform/win32/WindowsHook.h"
#include "platform/windows/WideText.h"

#include <commctrl.h>
#include <float.h>

namespace {

// Posted to the gate window when a worker has queued a hand-off.
constexpr UINT GateWakeMessage = WM_APP + 1;
constexpr UINT_PTR GateTimer = 1;

// The gate window's two wakes: the posted message and the timer.
bool IsGateWake(UINT message, WPARAM wParam)
{
    return message == GateWakeMessage || (message == WM_TIMER && wParam == GateTimer);
}

// The boxes open on this thread, innermost last: the hook below notes the window of the box
// being made, which MessageBoxW never hands out.
thread_local std::vector<HWND>* OpenBoxes = nullptr;

LRESULT CALLBACK NoteBoxWindow(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && OpenBoxes && !OpenBoxes->empty() && !OpenBoxes->back()) {
        // The box itself is made first, its text and button inside it afterwards.
        const auto* creation = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (!(creation->lpcs->style & WS_CHILD))
            OpenBoxes->back() = reinterpret_cast<HWND>(wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TWin32Application::TWin32Application()
    : m_uiThread(GetCurrentThreadId())
{
    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS };
    InitCommonControlsEx(&controls);
    // A message-only window: the hand-offs run from the main loop, from nested pumps, from
    // modal loops and from the system's own loops of message boxes and menus alike.
    m_gate = CreateWindowExW(0, WindowClass(L"OstrelSyncGate", GateProcedure, nullptr), L"", 0, 0, 0, 0, 0,
                             HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_gate)
        throw EOstrelError("Cannot create the application's message window");
    SyncGate().SetWake([this] {
        if (GetCurrentThreadId() == m_uiThread)
            WakeGateLater();
        else
            WakeGate();
    });
}

TWin32Application::~TWin32Application()
{
    SyncGate().SetWake({});
    DestroyWindow(m_gate);
}

void TWin32Application::WakeGate()
{
    PostMessageW(m_gate, GateWakeMessage, 0, 0);
}

void TWin32Application::WakeGateLater()
{
    // Calls left over by a pump wait for a timer, which the system hands out only after input
    // and painting: a flood of hand-offs cannot freeze the window.
    SetTimer(m_gate, GateTimer, USER_TIMER_MINIMUM, nullptr);
}

LRESULT CALLBACK TWin32Application::GateProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* application = WindowObject<TWin32Application>(window, message, lParam);
    if (application && IsGateWake(message, wParam)) {
        if (message == WM_TIMER)
            KillTimer(window, GateTimer);
        application->Dispatch([application] { application->SyncGate().RunPending(); });
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool TWin32Application::IsGateMessage(const MSG& message) const
{
    return message.hwnd == m_gate && IsGateWake(message.message, message.wParam);
}

void TWin32Application::RunMainLoop()
{
    while (!Terminated())
        HandleNextMessage();
}

void TWin32Application::HandleNextMessage()
{
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1)
        throw EOstrelError("The message queue failed");
    if (got == 0) {
        // Someone asked the thread to end (WM_QUIT): it ends the program like Terminate.
        Terminate();
        return;
    }
    Route(message);
}

void TWin32Application::ProcessMessages()
{
    const DWORD start = ::GetTickCount();
    bool gateRan = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            Terminate();
            return;
        }
        if (IsGateMessage(message)) {
            // The hand-offs hold one pump for at most the gate's pump time; the rest waits.
            if (gateRan) {
                WakeGateLater();
                return;
            }
            gateRan = true;
        }
        Route(message);
        // What came after the pump began waits for the next one: no flood of messages, nor a
        // chain that each message starts anew, can hold the pump.
        if (static_cast<LONG>(message.time - start) > 0)
            return;
    }
}

void TWin32Application::Route(MSG& message)
{
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
        // A character comes from the key message before it, read back when that was handled.
        const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        if (down || message.message == WM_KEYUP || message.message == WM_SYSKEYUP) {
            const bool marked = GetMessageExtraInfo() == static_cast<LPARAM>(TWin32Keyboard::InjectedKeyMarker);
            const bool injected = m_injectedKeys.Take(message, marked);
            if (down)
                m_injectedKey = injected;
        }
        if (TWin32FormWindow* form = FormOf(message.hwnd); form && form->RouteKey(message, !m_injectedKey))
            return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

TWin32FormWindow* TWin32Application::FormOf(HWND window) const
{
    if (!window)
        return nullptr;
    const HWND topLevel = GetAncestor(window, GA_ROOT);
    // Every form of this backend has a window of this backend.
    for (const auto& entry : Forms().Forms()) {
        auto* form = static_cast<TWin32FormWindow*>(entry.Window);
        if (form->Handle() == topLevel)
            return form;
    }
    return nullptr;
}

void TWin32Application::EndLoops()
{
    // Like the system's quit message, the request ends the boxes and the menu open now, so
    // none of them can keep the program up.
    for (const HWND box : m_openBoxes) {
        if (box)
            PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    EndMenu();
    // Wakes a loop that waits for a message, so it sees the request.
    PostMessageW(m_gate, WM_NULL, 0, 0);
}

void TWin32Application::ShowBox(const std::string& caption, const std::string& text)
{
    m_openBoxes.push_back(nullptr);
    OpenBoxes = &m_openBoxes;
    {
        const TWindowsHook hook(WH_CBT, NoteBoxWindow);
        MessageBoxW(BoxOwner(), Widen(text).c_str(), Widen(caption).c_str(), MB_ICONERROR | MB_OK);
    }
    m_openBoxes.pop_back();
}

HWND TWin32Application::BoxOwner() const
{
    // The box belongs to the application: over its active window, else over the main form.
    const HWND active = GetActiveWindow();
    if (active && FormOf(active))
        return active;
    const auto* main = static_cast<const TWin32FormWindow*>(Forms().MainWindow());
    return main ? main->Handle() : nullptr;
}

std::string TWin32Application::ProgramPath() const
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

std::uint32_t TWin32Application::GetTickCount()
{
    return ::GetTickCount();
}

void TWin32Application::Sleep(std::uint32_t milliseconds)
{
    ::Sleep(milliseconds);
}

void TWin32Application::MaskDivisionByZero()
{
    // One bit of the mask; the other exceptions stay as they were. The runtime sets the x87 and
    // the SSE control words alike.
    _controlfp(_EM_ZERODIVIDE, _EM_ZERODIVIDE);
}
