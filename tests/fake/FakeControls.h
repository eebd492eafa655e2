#pragma once

#include "platform/Form.h"

#include <memory>
#include <string>
#include <vector>

// Plain in-memory controls: they hold their state and raise nothing by
// themselves; tests call the bound events directly.

template <class TBase> class TFakeControl : public TBase
{
public:
    explicit TFakeControl(const TControlDecl& decl)
        : Decl(decl)
        , m_visible(decl.Visible)
    { }

    std::string Name() const override { return Decl.Name; }
    bool Visible() const override { return m_visible; }
    void SetVisible(bool visible) override { m_visible = visible; }
    bool Enabled() const override { return m_enabled; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    TBounds Bounds() const override { return Decl.Bounds; }
    void SetFocus() override { m_focused = true; }
    bool Focused() const override { return m_focused; }

    const TControlDecl Decl;

private:
    bool m_visible;
    bool m_enabled = true;
    bool m_focused = false;
};

class TFakeButton : public TFakeControl<TButton>
{
public:
    using TFakeControl::TFakeControl;
};

class TFakeLabel : public TFakeControl<TLabel>
{
public:
    explicit TFakeLabel(const TControlDecl& decl)
        : TFakeControl(decl)
        , m_caption(decl.Caption)
    { }
    std::string Caption() const override { return m_caption; }
    void SetCaption(const std::string& caption) override { m_caption = caption; }
    bool Underlined() const override { return m_underlined; }
    void SetUnderlined(bool underlined) override { m_underlined = underlined; }
    bool Bold() const override { return Decl.Bold; }

private:
    std::string m_caption;
    bool m_underlined = false;
};

class TFakeProgressBar : public TFakeControl<TProgressBar>
{
public:
    using TFakeControl::TFakeControl;
    int Position() const override { return m_position; }
    void SetPosition(int position) override { m_position = position; }

private:
    int m_position = 0;
};

class TFakeEdit : public TFakeControl<TEdit>
{
public:
    explicit TFakeEdit(const TControlDecl& decl)
        : TFakeControl(decl)
        , m_text(decl.Caption)
    { }
    std::string Text() const override { return m_text; }
    void SetText(const std::string& text) override { m_text = text; }

private:
    std::string m_text;
};

class TFakeListBox : public TFakeControl<TListBox>
{
public:
    using TFakeControl::TFakeControl;
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    std::string RowText(int row) const override { return m_rows.at(row).Text; }
    void AppendRow(const std::string& text) override { m_rows.push_back({ text, {} }); }
    void SetRowText(int row, const std::string& text) override { m_rows.at(row).Text = text; }
    void SetRowDescription(int row, const std::string& description) override
    {
        m_rows.at(row).Description = description;
    }
    void DeleteRow(int row) override;
    int ItemIndex() const override { return m_itemIndex; }
    void SetItemIndex(int row) override;
    void Invalidate() override { ++Invalidations; }
    int TopIndex() const override { return m_topIndex; }
    TRect ClientRect() const override;
    TRect ItemRect(int row) const override;

    void SetTopIndex(int row) { m_topIndex = row; }
    std::string RowDescription(int row) const { return m_rows.at(row).Description; }

    int Invalidations = 0;
    // The menu the form gave the list to show.
    TPopupMenu* Menu = nullptr;

private:
    struct TRow
    {
        std::string Text;
        std::string Description;
    };

    std::vector<TRow> m_rows;
    int m_itemIndex = -1;
    int m_topIndex = 0;
};

class TFakeMenuItem : public TMenuItem
{
public:
    explicit TFakeMenuItem(const TMenuItemDecl& decl)
        : m_decl(decl)
    { }
    std::string Name() const override { return m_decl.Name; }
    std::string Caption() const override { return m_decl.Caption; }

private:
    TMenuItemDecl m_decl;
};

class TFakePopupMenu : public TPopupMenu
{
public:
    explicit TFakePopupMenu(const TControlDecl& decl);
    std::string Name() const override { return m_name; }
    int ItemCount() const override { return static_cast<int>(m_items.size()); }
    TMenuItem& Item(int index) override { return *m_items.at(index); }
    TMenuItem& Item(std::string_view name) override;

private:
    std::string m_name;
    std::vector<std::unique_ptr<TFakeMenuItem>> m_items;
};

// A web view that records what it was asked and reports the ready state a test sets.
class TFakeWebBrowser : public TFakeControl<TWebBrowser>
{
public:
    using TFakeControl::TFakeControl;
    void Navigate(const std::string& url) override;
    int ReadyState() override;
    std::string LocationUrl() const override { return m_location; }

    std::vector<std::string> Navigations;
    int ReadyStateReads = 0;
    int NextReadyState = TWebBrowser::ReadyStateComplete;

private:
    std::string m_location;
};
