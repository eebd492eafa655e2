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

std::string TextOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
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
