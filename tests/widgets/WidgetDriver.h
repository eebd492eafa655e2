#pragma once

#include "platform/Form.h"
#include "platform/Platform.h"
#include "platform/Types.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class TPicture;

// A control's client area as it shows on the screen, 0xRRGGBB a pixel.
struct TSnapshot
{
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)] & 0xFFFFFF; }
    bool operator==(const TSnapshot&) const = default;
};

// A key as the user types it on the keyboard: pressed and released, with the modifiers held.
struct TKey
{
    enum class TName { Character, Down, Tab, Enter, Escape, Space, ContextMenu };
    TName Name = TName::Character;
    char Character = 0; // for Character: a capital letter or a digit
    bool Shift = false;
    bool Ctrl = false;
};
inline TKey Key(char character)
{
    return { TKey::TName::Character, character };
}
inline TKey Key(TKey::TName name, bool shift = false, bool ctrl = false)
{
    return { name, 0, shift, ctrl };
}

// A key going down or up as the focused control gets it: the key ("Enter", "Ctrl", "M", ...),
// the text it types (downs only) and whether Ostrel injected it rather than the keyboard.
struct TKeyStroke
{
    std::string Key;
    bool Down = false;
    std::string Text;
    bool Injected = false;
    bool operator==(const TKeyStroke&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const TKeyStroke& stroke)
{
    out << stroke.Key << (stroke.Down ? " down" : " up");
    if (!stroke.Text.empty())
        out << " typing " << ::testing::PrintToString(stroke.Text);
    return out << (stroke.Injected ? " injected" : "");
}

// How a label shows: its text colour (0xRRGGBB), its font and the pointer over it.
struct TLabelLook
{
    std::uint32_t Colour = 0;
    bool Bold = false;
    bool Underlined = false;
    bool HandPointer = false;
    bool operator==(const TLabelLook&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const TLabelLook& look)
{
    return out << "colour " << std::hex << look.Colour << std::dec << (look.Bold ? ", bold" : "")
               << (look.Underlined ? ", underlined" : "") << (look.HandPointer ? ", hand pointer" : "");
}

// What the widget scenarios do to one backend's native windows, as the user, the system or a
// screen reader would. One driver a test: it owns that test's session with the backend.
class TWidgetDriver
{
public:
    virtual ~TWidgetDriver() = default;

    virtual TPlatform& Platform() = 0;
    // A square picture of one opaque colour (0xRRGGBB).
    virtual std::unique_ptr<TPicture> SolidPicture(int size, std::uint32_t colour) = 0;

    // Dispatches events as the program's pumps do until condition holds; false after 10 s.
    virtual bool WaitFor(const std::function<bool()>& condition) = 0;
    // Runs action from the event loop running then (a modal form's, a menu's, a box's).
    virtual void RunSoon(std::function<void()> action) = 0;

    // The button goes down over at, in the control's coordinates.
    virtual void Press(TControl& control, TMouseButton button, TPoint at) = 0;
    // The button goes up; the right button's going up asks for the menu, as the system does.
    virtual void Release(TControl& control, TMouseButton button, TPoint at) = 0;
    // A menu request for the control, as the system sends it: at (-1, -1) comes from the keyboard.
    virtual void RequestMenu(TControl& control, TPoint at) = 0;
    // Types keys into the window that has the keyboard and waits until they were taken; keys
    // typed into an open menu are taken once the action typing them returns to the menu's loop.
    virtual void Type(const std::vector<TKey>& keys) = 0;
    // Takes the keyboard focus from every control of the active form.
    virtual void ClearFocus() = 0;
    // A click on the button, as the user gives it.
    virtual void Click(TButton& button) = 0;
    // The user closes the form by its frame's close button.
    virtual void CloseByFrame(TForm& form) = 0;
    virtual bool Maximised(TForm& form) = 0;
    // The form leaves the maximised state and its client area takes the size given.
    virtual void ShowNormalAt(TForm& form, int clientWidth, int clientHeight) = 0;
    // Whether the system keeps owned above owner, as a dialog over its main window.
    virtual bool OwnedBy(TForm& owned, TForm& owner) = 0;

    // From now on, the key strokes the control with the keyboard now gets; a new call starts anew.
    virtual void RecordKeys() = 0;
    // The strokes recorded so far, once every key typed has been taken.
    virtual std::vector<TKeyStroke> RecordedKeys() = 0;

    virtual TLabelLook Look(TLabel& label) = 0;
    // The pointer enters the control, or leaves it.
    virtual void Hover(TControl& control) = 0;
    virtual void Leave(TControl& control) = 0;
    // Runs action with the driver standing in for the user's web browser; the address handed
    // to the browser, empty when none within 10 s.
    virtual std::string AddressOpenedBy(const std::function<void()>& action) = 0;

    // The control's client area after pending drawing, in 96-dpi pixels.
    virtual TSnapshot Capture(TControl& control) = 0;
    // The system's colour of a list's empty area.
    virtual std::uint32_t WindowColour(TListBox& list) = 0;
    // The list's caret, which carries the focus outline, moves to row without selecting it.
    virtual void MoveCaret(TListBox& list, int row) = 0;
    // The width of the list's vertical scroll bar, 0 while none shows.
    virtual int VerticalScrollBarWidth(TListBox& list) = 0;
    virtual bool ScrollsSideways(TListBox& list) = 0;
    // Scrolls the list one step down, as a click on its scroll bar's arrow does.
    virtual void ScrollDown(TListBox& list) = 0;

    // The popup menu open now: whether one is, where it shows (screen pixels), and closing it.
    virtual bool MenuOpen() = 0;
    virtual TPoint MenuTopLeft() = 0;
    virtual void CloseMenu() = 0;
    virtual TPoint ToScreen(TControl& control, TPoint at) = 0;
    // The captions the menu shows, separators left out, with their access key marks.
    virtual std::vector<std::string> MenuCaptions(TPopupMenu& menu) = 0;

    // What a screen reader reads of a row: its name, then its description (empty for none);
    // "(none)" where the reader gets no text at all.
    virtual std::string AccessibleRowName(TListBox& list, int row) = 0;
    virtual std::string AccessibleRowDescription(TListBox& list, int row) = 0;
    // Empty where the system's screen reader interface shows row descriptions; else the
    // system's name, known not to (decided by the system, never by what a row reads).
    virtual std::string SystemWithoutRowDescriptions() = 0;
};

// The driver of the backend this test program was built with.
std::unique_ptr<TWidgetDriver> CreateWidgetDriver();
