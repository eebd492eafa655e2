#pragma once

#include "platform/Form.h"
#include "platform/qt/QtDispatch.h"

#include <map>
#include <memory>
#include <QWidget>
#include <string>
#include <vector>

class QEventLoop;
class QKeyEvent;
class TQtApplication;
class TQtForm;

// The top-level widget of a form: its client area is the whole widget.
class TQtFormWindow : public QWidget
{
public:
    explicit TQtFormWindow(TQtForm& form);

    // Called for every key press aimed at a widget of this window before the widget
    // sees it; true when the form swallowed a typed key.
    bool PreviewKey(QKeyEvent& event);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TQtForm& m_form;
};

// A form of the Qt backend, built from its declaration.
class TQtForm : public TForm
{
public:
    TQtForm(const TFormDecl& decl, TQtApplication& application);
    ~TQtForm() override;
    TQtForm(const TQtForm&) = delete;
    TQtForm& operator=(const TQtForm&) = delete;

    std::string Name() const override { return m_decl.Name; }
    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    int ClientWidth() const override { return m_window->width(); }
    int ClientHeight() const override { return m_window->height(); }
    bool Visible() const override { return m_window->isVisible(); }

    TButton& Button(std::string_view name) override { return Find<TButton>(name); }
    TLabel& Label(std::string_view name) override { return Find<TLabel>(name); }
    TProgressBar& ProgressBar(std::string_view name) override { return Find<TProgressBar>(name); }
    TEdit& Edit(std::string_view name) override { return Find<TEdit>(name); }
    TListBox& ListBox(std::string_view name) override { return Find<TListBox>(name); }
    TPopupMenu& PopupMenu(std::string_view name) override;
    TWebBrowser& WebBrowser(std::string_view name) override { return Find<TWebBrowser>(name); }

    void Show() override;
    void Close() override;
    int ShowModal() override;
    void SetModalResult(int result) override;

    QWidget& Window() { return *m_window; }

    // Window events, delivered by TQtFormWindow.
    bool PreviewKey(char16_t& key);
    void Shown();
    void Resized();

private:
    struct TPlacedWidget
    {
        QWidget* Widget;
        TBounds Bounds;
        TAnchors Anchors;
    };

    void CreateControls();
    void CreateControl(const TControlDecl& decl);
    // Takes a built control into the form: name, focus, visibility, place.
    template <class TQtControl> void Adopt(const TControlDecl& decl, std::unique_ptr<TQtControl> control);
    void SetTabOrder();
    void Place(const TPlacedWidget& placed) const;

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
    TQtApplication& m_application;
    TQtDispatch m_dispatch;
    // Declared before the controls: the window outlives them.
    std::unique_ptr<TQtFormWindow> m_window;
    std::map<std::string, std::unique_ptr<TPopupMenu>, std::less<>> m_popupMenus;
    std::map<std::string, std::unique_ptr<TControl>, std::less<>> m_controls;
    std::vector<TPlacedWidget> m_placed;
    QEventLoop* m_modalLoop = nullptr;
    int m_modalResult = 0;
};
