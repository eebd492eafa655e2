// Lists the visible windows of the Wine session it runs in, with their places on the screen and
// their texts, so that a test script can read what xdotool cannot: a label's text, a message
// box's text, where a control lies. One line a window, fields separated by tabs:
//
//   top-level:  window  HANDLE  PROCESS  LEFT TOP RIGHT BOTTOM  CLASS  TEXT
//   child:      control HANDLE  PARENT   LEFT TOP RIGHT BOTTOM  CLASS  TEXT
//
// Handles are in hexadecimal, places in screen pixels, texts in UTF-8 with tabs and line
// breaks shown as spaces. A child follows its top-level window.
#include <cstdio>
#include <string>
#include <windows.h>

namespace {

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size
        = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    for (char& byte : bytes) {
        if (byte == '\t' || byte == '\r' || byte == '\n')
            byte = ' ';
    }
    return bytes;
}

// Asked of the window itself: GetWindowTextW reads only the caption the system keeps for a
// window of another process, which an edit box's typed text is not.
std::string TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    text.resize(copied);
    return Utf8(text);
}

std::string ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return Utf8(name);
}

void Print(const char* kind, HWND window, unsigned long owner)
{
    RECT place {};
    GetWindowRect(window, &place);
    std::printf("%s\t%lx\t%lx\t%ld %ld %ld %ld\t%s\t%s\n", kind,
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)), owner, place.left, place.top,
                place.right, place.bottom, ClassOf(window).c_str(), TextOf(window).c_str());
}

BOOL CALLBACK PrintControl(HWND window, LPARAM)
{
    if (IsWindowVisible(window))
        Print("control", window, static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(GetParent(window))));
    return TRUE;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM)
{
    if (!IsWindowVisible(window))
        return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    Print("window", window, process);
    EnumChildWindows(window, PrintControl, 0);
    return TRUE;
}

} // namespace

int main()
{
    EnumWindows(PrintWindow, 0);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
