#pragma once

#include "platform/common/Dispatch.h"
#include "platform/Form.h"
#include "platform/FormWindow.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class TApplication;
class TFormRegistry;

// A form built from its declaration, the same on every backend: its controls found by name,
// menus made first so that a list can be given its menu, tab stops in declared order, the
// close rule, modal showing and key preview. The backend's window only makes and shows.
class TDeclaredForm : public TForm, private TFormEvents
{
public:
    using TWindowFactory = std::function<std::unique_ptr<TFormWindow>(TFormEvents& events)>;

    // Registers the form with forms; the first while there is no main form becomes it.
    TDeclaredForm(const TFormDecl& decl, TApplication& application, TFormRegistry& forms, TDispatch dispatch,
                  const TWindowFactory& makeWindow);
    ~TDeclaredForm() override;
    TDeclaredForm(const TDeclaredForm&) = delete;
    TDeclaredForm& operator=(const TDeclaredForm&) = delete;

    std::string Name() const override { return m_decl.Name; }
    std::string Caption() const override { return m_window->Caption(); }
    void SetCaption(const std::string& caption) override { m_window->SetCaption(caption); }
    int ClientWidth() const override { return m_window->ClientWidth(); }
    int ClientHeight() const override { return m_window->ClientHeight(); }
    bool Visible() const override { return m_window->Visible(); }

    TButton& Button(std::string_view name) override { return Find<TButton>(name); }
    TLabel& Label(std::string_view name) override { return Find<TLabel>(name); }
    TProgressBar& ProgressBar(std::string_view name) override { return Find<TProgressBar>(name); }
    TEdit& Edit(std::string_view name) override { return Find<TEdit>(name); }
    TListBox& ListBox(std::string_view name) override { return Find<TListBox>(name); }
    TPopupMenu& PopupMenu(std::string_view name) override;
    TWebBrowser& WebBrowser(std::string_view name) override { return Find<TWebBrowser>(name); }

    void Show() override;
    // The close query decides; then a modal showing ends cancelled, the main form ends the
    // program, and any other form hides.
    void Close() override;
    void SaveForSession() override;
    bool SavingOnly() const override { return m_savingOnly; }
    int ShowModal() override;
    void SetModalResult(int result) override;

    const TFormDecl& Decl() const { return m_decl; }
    TFormWindow& Window() { return *m_window; }

private:
    void CloseRequested() override { Close(); }
    void SessionSaveRequested() override { SaveForSession(); }
    void Shown() override;
    bool KeyTyped(char16_t& key) override;

    void CreateControls();
    // Runs OnCloseQuery; true when it lets the form close.
    bool QueryClose();

    template <class T> T& Find(std::string_view name)
    {
        const auto found = m_controls.find(name);
        auto* control = found == m_controls.end() ? nullptr : dynamic_cast<T*>(found->second.get());
        if (!control)
            ThrowNoControl(name);
        return *control;
    }
    [[noreturn]] void ThrowNoControl(std::string_view name) const;

    const TFormDecl m_decl;
    TApplication& m_application;
    TFormRegistry& m_forms;
    const TDispatch m_dispatch;
    // Declared before the controls: the window outlives them.
    std::unique_ptr<TFormWindow> m_window;
    std::map<std::string, std::unique_ptr<TPopupMenu>, std::less<>> m_popupMenus;
    std::map<std::string, std::unique_ptr<TControl>, std::less<>> m_controls;
    bool m_modal = false;
    bool m_savingOnly = false;
    int m_modalResult = 0;
};
