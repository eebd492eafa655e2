#pragma once

#include "platform/Form.h"
#include "platform/win32/AccessibleAnnotation.h"
#include "platform/win32/GdiObject.h"
#include "platform/win32/Win32ChildWindow.h"

#include <memory>
#include <optional>

// A push button, never a form's default: Enter presses it only while it has the focus.
class TWin32Button : public TWin32Control<TButton>
{
public:
    TWin32Button(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch);

    void Notified(WORD code) override;

protected:
    LRESULT Subclassed(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A static control that shows its caption as plain text and reports the pointer entering,
// leaving and clicking.
class TWin32Label : public TWin32Control<TLabel>
{
public:
    TWin32Label(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch);

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    bool Underlined() const override { return m_underlined; }
    void SetUnderlined(bool underlined) override;
    bool Bold() const override { return m_bold; }

    void SetFont(HFONT font, const LOGFONTW& description, unsigned dpi) override;
    HBRUSH StaticColors(HDC dc) override;

protected:
    LRESULT Subclassed(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The form's font with the label's own weight and underline.
    void ApplyFont();
    // A label declared without a width sizes itself to its caption.
    void FitCaption();

    const bool m_autoSize;
    const bool m_bold;
    const bool m_transparent;
    // With a name of its own, assistive technology reads the caption as the description.
    std::unique_ptr<TAccessibleAnnotation> m_description;
    const bool m_handCursor;
    const std::optional<TColor> m_color;
    bool m_underlined = false;
    bool m_pointerInside = false;
    bool m_pressed = false;
    LOGFONTW m_formFont = {};
    TFont m_font;
};

class TWin32ProgressBar : public TWin32Control<TProgressBar>
{
public:
    TWin32ProgressBar(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch);

    int Position() const override;
    void SetPosition(int position) override;
};

// A single-line edit box without a length limit that selects its whole text whenever it gets
// the focus other than by a click.
class TWin32Edit : public TWin32Control<TEdit>
{
public:
    TWin32Edit(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch);

    std::string Text() const override;
    void SetText(const std::string& text) override;

protected:
    LRESULT Subclassed(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_clicked = false;
};

// The text of a window, as UTF-8.
std::string WindowText(HWND window);
