#pragma once

#include "platform/Controls.h"
#include "platform/ListBox.h"
#include "platform/PopupMenu.h"
#include "platform/Types.h"
#include "platform/WebBrowser.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Forms are declared as data, the way a form designer stores a window; the
// backend builds the real window from the declaration.

enum class TControlKind { Button, Label, ProgressBar, Edit, ListBox, PopupMenu, WebBrowser };

struct TAnchors
{
    bool Left = true;
    bool Top = true;
    bool Right = false;
    bool Bottom = false;
};

enum class TCursorKind { Default, HandPoint };

struct TMenuItemDecl
{
    std::string Name;
    std::string Caption; // "-" makes a separator
};

struct TControlDecl
{
    TControlKind Kind = TControlKind::Button;
    std::string Name;
    std::string Caption;
    TBounds Bounds; // a label with Width 0 sizes itself to its caption
    TAnchors Anchors;
    int TabOrder = -1; // -1: not a tab stop
    bool Visible = true;
    bool Bold = false;
    std::optional<TColor> FontColor; // unset: the system's window-text colour
    TCursorKind Cursor = TCursorKind::Default;
    bool Transparent = false;
    bool ShowHint = false;
    bool Border = true;
    int ItemHeight = 0; // list rows
    int Max = 100; // progress bar range 0..Max
    std::string PopupMenu; // name of the popup menu a list shows
    // What assistive technology calls the control; empty: its caption. A label named so
    // gives its caption as the description.
    std::string AccessibleName;
    std::vector<TMenuItemDecl> Items;
};

// What every control's declaration states; the kind-specific settings are set on the result.
inline TControlDecl ControlDecl(TControlKind kind, std::string name, std::string caption, TBounds bounds, int tabOrder,
                                TAnchors anchors = {})
{
    TControlDecl decl;
    decl.Kind = kind;
    decl.Name = std::move(name);
    decl.Caption = std::move(caption);
    decl.Bounds = bounds;
    decl.Anchors = anchors;
    decl.TabOrder = tabOrder;
    return decl;
}

struct TFontDecl
{
    std::string Name = "Tahoma";
    int Height = 11; // character height in pixels: 8 points at 96 dpi
};

struct TFormDecl
{
    std::string Name;
    std::string Caption;
    int ClientWidth = 0;
    int ClientHeight = 0;
    TFontDecl Font;
    bool StartMaximized = false;
    bool KeyPreview = false;
    std::string IconResource; // empty: no icon of its own
    std::vector<TControlDecl> Controls;
};

// The first form made is the main form; every later one is owned by it: shown over
// it, without a task-bar entry of its own.
class TForm
{
public:
    static constexpr int ModalResultSave = 1;
    static constexpr int ModalResultCancel = 2;

    virtual ~TForm() = default;
    virtual std::string Name() const = 0;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual bool Visible() const = 0;

    virtual TButton& Button(std::string_view name) = 0;
    virtual TLabel& Label(std::string_view name) = 0;
    virtual TProgressBar& ProgressBar(std::string_view name) = 0;
    virtual TEdit& Edit(std::string_view name) = 0;
    virtual TListBox& ListBox(std::string_view name) = 0;
    virtual TPopupMenu& PopupMenu(std::string_view name) = 0;
    virtual TWebBrowser& WebBrowser(std::string_view name) = 0;

    virtual void Show() = 0;
    // Asks the form to close; OnCloseQuery decides.
    virtual void Close() = 0;
    // The session may end, or may go on: runs OnCloseQuery so that the form saves what its
    // close saves, and closes nothing whatever it answers. The session's real end closes later.
    virtual void SaveForSession() = 0;
    // True while OnCloseQuery runs for SaveForSession: it saves, and must not end the program.
    virtual bool SavingOnly() const = 0;
    // Shows the form modally over the main form and returns its result; closing
    // it by its frame gives ModalResultCancel.
    virtual int ShowModal() = 0;
    // Ends a modal showing with result.
    virtual void SetModalResult(int result) = 0;

    std::function<void()> OnShow;
    std::function<void(bool& canClose)> OnCloseQuery;
    // With KeyPreview, every typed character reaches this before the focused control.
    std::function<void(char16_t& key)> OnKeyPress;
};
