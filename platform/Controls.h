#pragma once

#include "platform/Types.h"

#include <functional>
#include <string>

// Controls of a form, as the program's handlers see them. Every event is a plain
// std::function the form class binds; the backend calls it on the UI thread and
// turns anything that escapes it into the default error report.

class TControl
{
public:
    virtual ~TControl() = default;
    virtual std::string Name() const = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // Current place in the parent's client area, in 96-dpi pixels.
    virtual TBounds Bounds() const = 0;
    virtual void SetFocus() = 0;
    virtual bool Focused() const = 0;
};

// A focused button is pressed by Enter and by Space, in every form; no button is a
// form's default, so Enter in another control presses none.
class TButton : public TControl
{
public:
    std::function<void()> OnClick;
};

// A label shows its caption as plain text, always: markup in it is shown as written.
class TLabel : public TControl
{
public:
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual bool Underlined() const = 0;
    virtual void SetUnderlined(bool underlined) = 0;
    virtual bool Bold() const = 0;

    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    std::function<void()> OnClick;
};

class TProgressBar : public TControl
{
public:
    virtual int Position() const = 0;
    virtual void SetPosition(int position) = 0;
};

// A single-line edit box without a length limit.
class TEdit : public TControl
{
public:
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};
