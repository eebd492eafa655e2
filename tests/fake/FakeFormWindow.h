#pragma once

#include "FakeControls.h"
#include "platform/FormWindow.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The window of a fake form: it makes fake controls, notes how the form asked for them, and
// stands in for the user at its frame and keyboard. Nothing waits: a modal showing plays the
// user once through OnRunModal.
class TFakeFormWindow : public TFormWindow
{
public:
    TFakeFormWindow(const TFormDecl& decl, TFormEvents& events);

    std::string Caption() const override { return m_caption; }
    void SetCaption(const std::string& caption) override { m_caption = caption; }
    int ClientWidth() const override { return m_clientWidth; }
    int ClientHeight() const override { return m_clientHeight; }
    bool Visible() const override { return m_visible; }

    std::unique_ptr<TPopupMenu> CreatePopupMenu(const TControlDecl& decl) override;
    std::unique_ptr<TControl> CreateControl(const TControlDecl& decl, TPopupMenu* popupMenu) override;
    void ControlsCreated(const std::vector<TControl*>& stops) override;

    // Every showing the program asks for raises the form's OnShow, as on the real backends.
    void Show(bool maximized) override;
    void Hide() override { m_visible = false; }
    void RunModal(const std::function<bool()>& ended) override;
    void WakeModal() override { }

    // A control made for the form, by name; std::out_of_range for any other name.
    TControl& Control(std::string_view name) const;

    // The user at the frame's close box.
    void PressCloseBox() { m_events.CloseRequested(); }
    // The session manager asking for the program's data before the session may end.
    void AskSessionSave() { m_events.SessionSaveRequested(); }
    // The user typing key; true when the form swallowed it.
    bool Type(char16_t& key) { return m_events.KeyTyped(key); }

    // Plays the user while the window is shown modally, until ended() holds.
    std::function<void(const std::function<bool()>& ended)> OnRunModal;

    // The names of the menus and controls in the order the form made them.
    std::vector<std::string> Made;
    // The names of the tab stops in the order Tab visits them.
    std::vector<std::string> TabStops;

private:
    TFormEvents& m_events;
    std::string m_caption;
    int m_clientWidth;
    int m_clientHeight;
    bool m_visible = false;
    std::map<std::string, TControl*, std::less<>> m_controls;
};
