#pragma once

#include "platform/Form.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// What the user does to a form's window, as its backend reports it to the declared form.
class TFormEvents
{
public:
    virtual ~TFormEvents() = default;
    // The frame's close box, Alt+F4 or the system menu: the form's close rule decides.
    virtual void CloseRequested() = 0;
    // The session manager asks for the program's data before the session may end; the session
    // can still go on, so the form saves and stays.
    virtual void SessionSaveRequested() = 0;
    // The window is up after the program's own showing; a restore from the task bar is none.
    virtual void Shown() = 0;
    // A character typed on the keyboard, before the focused control sees it; the form may
    // change it. True when the form swallowed it.
    virtual bool KeyTyped(char16_t& key) = 0;
};

// The native window of one declared form, as a toolkit backend makes it: the window and its
// controls, laid out by their anchors, their events reported. Every rule of forms (which
// control is which, closing, modal showing, tab order, key preview) is TDeclaredForm's.
class TFormWindow
{
public:
    virtual ~TFormWindow() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // In 96-dpi pixels.
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual bool Visible() const = 0;

    virtual std::unique_ptr<TPopupMenu> CreatePopupMenu(const TControlDecl& decl) = 0;
    // Makes a control of any other kind; popupMenu is the menu a list declares, made before.
    virtual std::unique_ptr<TControl> CreateControl(const TControlDecl& decl, TPopupMenu* popupMenu) = 0;
    // Every control is made: stops are the tab stops, in the order Tab visits them. The window
    // takes its declared size and lays its controls out.
    virtual void ControlsCreated(const std::vector<TControl*>& stops) = 0;

    virtual void Show(bool maximized) = 0;
    virtual void Hide() = 0;
    // Shows the window modally over its owner, which takes no input meanwhile, and handles
    // events until ended() holds; hidden again when it returns.
    virtual void RunModal(const std::function<bool()>& ended) = 0;
    // Makes a modal loop that waits for an event look at ended() again.
    virtual void WakeModal() = 0;
};
