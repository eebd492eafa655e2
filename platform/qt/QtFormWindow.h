#pragma once

#include "platform/common/Dispatch.h"
#include "platform/FormWindow.h"

#include <map>
#include <QWidget>
#include <vector>

class QEventLoop;
class QKeyEvent;

// The top-level widget of a declared form with its native controls: its client area is the
// whole widget.
class TQtFormWindow : public QWidget, public TFormWindow
{
public:
    // owner: the main form's window, which a later form is kept over as its dialog; null for
    // the main form itself.
    TQtFormWindow(const TFormDecl& decl, TFormEvents& events, TDispatch dispatch, TQtFormWindow* owner);
    ~TQtFormWindow() override;
    TQtFormWindow(const TQtFormWindow&) = delete;
    TQtFormWindow& operator=(const TQtFormWindow&) = delete;

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    int ClientWidth() const override { return width(); }
    int ClientHeight() const override { return height(); }
    bool Visible() const override { return isVisible(); }

    std::unique_ptr<TPopupMenu> CreatePopupMenu(const TControlDecl& decl) override;
    std::unique_ptr<TControl> CreateControl(const TControlDecl& decl, TPopupMenu* popupMenu) override;
    void ControlsCreated(const std::vector<TControl*>& stops) override;

    void Show(bool maximized) override;
    void Hide() override { hide(); }
    void RunModal(const std::function<bool()>& ended) override;
    void WakeModal() override;

    // Called for every key press aimed at a widget of this window before the widget
    // sees it; true when the form swallowed a typed key.
    bool PreviewKey(QKeyEvent& event);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct TPlacedWidget
    {
        QWidget* Widget;
        TBounds Bounds;
        TAnchors Anchors;
    };

    // Takes a built control into the window: name, focus, visibility, place.
    template <class TQtControl>
    std::unique_ptr<TControl> Adopt(const TControlDecl& decl, std::unique_ptr<TQtControl> control);
    void LayOut() const;

    const int m_declaredWidth;
    const int m_declaredHeight;
    TFormEvents& m_events;
    const TDispatch m_dispatch;
    std::vector<TPlacedWidget> m_placed;
    std::map<const TControl*, QWidget*> m_widgets;
    QEventLoop* m_modalLoop = nullptr;
};

// The widget of a form the Qt backend made.
QWidget& QtWindowOf(TForm& form);
