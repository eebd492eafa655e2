#pragma once

#include "FakeControls.h"
#include "platform/Form.h"

#include <map>
#include <memory>
#include <string>

class TFakeApplication;

// A form built from its declaration out of fake controls. ShowModal asks
// OnShowModal for the result, so a test plays the user inside the dialog.
class TFakeForm : public TForm
{
public:
    explicit TFakeForm(const TFormDecl& decl);

    std::string Name() const override { return Decl.Name; }
    std::string Caption() const override { return m_caption; }
    void SetCaption(const std::string& caption) override { m_caption = caption; }
    int ClientWidth() const override { return Decl.ClientWidth; }
    int ClientHeight() const override { return Decl.ClientHeight; }
    bool Visible() const override { return m_visible; }

    TButton& Button(std::string_view name) override { return Find<TFakeButton>(name); }
    TLabel& Label(std::string_view name) override { return Find<TFakeLabel>(name); }
    TProgressBar& ProgressBar(std::string_view name) override { return Find<TFakeProgressBar>(name); }
    TEdit& Edit(std::string_view name) override { return Find<TFakeEdit>(name); }
    TListBox& ListBox(std::string_view name) override { return Find<TFakeListBox>(name); }
    TPopupMenu& PopupMenu(std::string_view name) override { return Find<TFakePopupMenu>(name); }
    TWebBrowser& WebBrowser(std::string_view name) override { return Find<TFakeWebBrowser>(name); }

    void Show() override;
    void Close() override;
    int ShowModal() override;
    void SetModalResult(int result) override { m_modalResult = result; }

    template <class T> T& Find(std::string_view name)
    {
        auto found = m_controls.find(std::string(name));
        if (found == m_controls.end())
            throw std::out_of_range("no control " + std::string(name));
        return dynamic_cast<T&>(*found->second);
    }

    // Plays the user while the form is shown modally; returns the modal result.
    std::function<int(TFakeForm&)> OnShowModal;
    int ModalShowings = 0;

    const TFormDecl Decl;

private:
    struct TAnyControl
    {
        virtual ~TAnyControl() = default;
    };
    template <class T> struct THolder : TAnyControl, T
    {
        using T::T;
    };

    std::map<std::string, std::unique_ptr<TAnyControl>, std::less<>> m_controls;
    std::string m_caption;
    bool m_visible = false;
    int m_modalResult = 0;
};
