// Lists the visible windows of the Wine session it runs in, with their places on the screen and
// their texts, so that a test script can read what xdotool cannot: a label's text, a message
// box's text, where a control lies. One line a window, fields separated by tabs:
//
//   top-level:  window  HANDLE  PROCESS  LEFT TOP RIGHT BOTTOM  CLASS  TEXT
//   child:      control HANDLE  PARENT   LEFT TOP RIGHT BOTTOM  CLASS  TEXT
//
// Handles are in hexadecimal, places in screen pixels, texts in UTF-8 with tabs and line
// breaks shown as spaces. A child follows its top-level window.
//
//   WindowProbe watch HANDLE SECONDS
//
// prints the caption of the window with that handle (hexadecimal) once, and again each time it
// changes, for that many seconds: a text that stands only for a moment is seen too.
#include <cstdio>
#include <cstdlib>
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

// The caption the system keeps, read without a message to the window, so also while its thread
// is busy: a label's text as set, even before the label could draw it.
std::string CaptionOf(HWND window)
{
    wchar_t text[1024] = {};
    return Utf8(std::wstring(text, static_cast<std::size_t>(InternalGetWindowText(window, text, 1024))));
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

void Watch(HWND window, DWORD seconds)
{
    const DWORD start = GetTickCount();
    std::string shown;
    bool first = true;
    while (GetTickCount() - start < seconds * 1000) {
        const std::string text = CaptionOf(window);
        if (first || text != shown) {
            std::printf("%s\n", text.c_str());
            std::fflush(stdout);
            shown = text;
            first = false;
        }
        Sleep(5);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "watch")
        Watch(reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(argv[2], nullptr, 16))),
              static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
    else
        EnumWindows(PrintWindow, 0);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
