#include "platform/qt/QtFormWindow.h"

#include "platform/common/AnchorLayout.h"
#include "platform/common/DeclaredForm.h"
#include "platform/OstrelError.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtIcon.h"
#include "platform/qt/QtListBox.h"
#include "platform/qt/QtString.h"
#include "platform/qt/QtWebBrowser.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScreen>

namespace {

QFont FormFont(const TFontDecl& decl)
{
    QFont font;
    // Where the declared face is missing, one of about its width keeps the captions inside their controls.
    font.setFamilies({ ToQString(decl.Name), QStringLiteral("Liberation Sans"), QStringLiteral("Arial") });
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(decl.Height);
    return font;
}

} // namespace

TQtFormWindow::TQtFormWindow(const TFormDecl& decl, TFormEvents& events, TDispatch dispatch, TQtFormWindow* owner)
    : m_declaredWidth(decl.ClientWidth)
    , m_declaredHeight(decl.ClientHeight)
    , m_events(events)
    , m_dispatch(std::move(dispatch))
{
    // A form made after the main form is its dialog: kept over it by the window manager, without a
    // task-bar entry of its own. The frame keeps every box a main window has.
    if (owner)
        setParent(owner,
                  Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                      | Qt::WindowCloseButtonHint);
    setObjectName(ToQString(decl.Name));
    setWindowTitle(ToQString(decl.Caption));
    setFont(FormFont(decl.Font));
    auto windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Button));
    setPalette(windowPalette);
    if (!decl.IconResource.empty())
        setWindowIcon(LoadIcon(decl.IconResource));
}

TQtFormWindow::~TQtFormWindow()
{
    // Each form deletes its own window: the main window lets go of its dialogs' windows before it goes.
    for (auto* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (dynamic_cast<TQtFormWindow*>(child))
            child->setParent(nullptr);
    }
}

std::string TQtFormWindow::Caption() const
{
    return windowTitle().toStdString();
}

void TQtFormWindow::SetCaption(const std::string& caption)
{
    setWindowTitle(ToQString(caption));
}

std::unique_ptr<TPopupMenu> TQtFormWindow::CreatePopupMenu(const TControlDecl& decl)
{
    return std::make_unique<TQtPopupMenu>(decl, font(), m_dispatch);
}

std::unique_ptr<TControl> TQtFormWindow::CreateControl(const TControlDecl& decl, TPopupMenu* popupMenu)
{
    switch (decl.Kind) {
    case TControlKind::Button:
        return Adopt(decl, std::make_unique<TQtButton>(decl, this, m_dispatch));
    case TControlKind::Label:
        return Adopt(decl, std::make_unique<TQtLabel>(decl, this, m_dispatch));
    case TControlKind::ProgressBar:
        return Adopt(decl, std::make_unique<TQtProgressBar>(decl, this));
    case TControlKind::Edit:
        return Adopt(decl, std::make_unique<TQtEdit>(decl, this));
    case TControlKind::ListBox: {
        auto listBox = CreateQtListBox(decl, this, m_dispatch);
        if (popupMenu)
            listBox->SetPopupMenu(&static_cast<TQtPopupMenu*>(popupMenu)->Menu());
        return Adopt(decl, std::move(listBox));
    }
    case TControlKind::WebBrowser:
        return Adopt(decl, CreateQtWebBrowser(decl, this, m_dispatch));
    case TControlKind::PopupMenu:
        break;
    }
    throw EOstrelError("Cannot make " + decl.Name + " as a control of its own");
}

template <class TQtControl>
std::unique_ptr<TControl> TQtFormWindow::Adopt(const TControlDecl& decl, std::unique_ptr<TQtControl> control)
{
    QWidget* widget = control->Widget();
    widget->setObjectName(ToQString(decl.Name));
    if (!decl.AccessibleName.empty())
        widget->setAccessibleName(ToQString(decl.AccessibleName));
    if (decl.TabOrder < 0)
        widget->setFocusPolicy(Qt::NoFocus);
    if (!decl.Visible)
        widget->hide();
    m_placed.push_back({ widget, decl.Bounds, decl.Anchors });
    m_widgets.emplace(control.get(), widget);
    return control;
}

void TQtFormWindow::ControlsCreated(const std::vector<TControl*>& stops)
{
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(m_widgets.at(stops[i - 1]), m_widgets.at(stops[i]));
    // Qt would focus the control made first once the window activates; the first tab stop it is.
    if (!stops.empty())
        m_widgets.at(stops.front())->setFocus(Qt::OtherFocusReason);
    resize(m_declaredWidth, m_declaredHeight);
    LayOut();
}

void TQtFormWindow::LayOut() const
{
    for (const auto& placed : m_placed) {
        const TBounds bounds = AnchoredBounds(placed.Bounds, placed.Anchors, placed.Widget->width(), m_declaredWidth,
                                              m_declaredHeight, width(), height());
        placed.Widget->setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    }
}

void TQtFormWindow::Show(bool maximized)
{
    if (maximized) {
        // Without a window manager nobody maximises the window: fill the screen's work area ourselves.
        setGeometry(screen()->availableGeometry());
        showMaximized();
    } else
        show();
}

void TQtFormWindow::RunModal(const std::function<bool()>& ended)
{
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    m_modalLoop = &loop;
    if (!ended())
        loop.exec();
    m_modalLoop = nullptr;
    hide();
    setWindowModality(Qt::NonModal);
}

void TQtFormWindow::WakeModal()
{
    if (m_modalLoop)
        m_modalLoop->exit();
}

bool TQtFormWindow::PreviewKey(QKeyEvent& event)
{
    // Only keys from the system's input are typed. Keys sent by the program are not: the injected
    // sequence, and the copies the web view hands its parent of keys the page left unhandled, which
    // would otherwise be previewed a second time and inject again, one sequence after another.
    if (!event.spontaneous() || event.text().isEmpty())
        return false;
    char16_t key = event.text().at(0).unicode();
    return m_events.KeyTyped(key);
}

void TQtFormWindow::closeEvent(QCloseEvent* event)
{
    // The form decides in its close rule; the window itself stays until the form lets it go.
    event->ignore();
    m_events.CloseRequested();
}

void TQtFormWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void TQtFormWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar is shown by the system again; only the program's own showing counts.
    // The handler runs once the window is up, so that boxes it shows lie above the window, with or without a
    // window manager to stack them.
    if (!event->spontaneous())
        QMetaObject::invokeMethod(
            this, [this] { m_events.Shown(); }, Qt::QueuedConnection);
}

QWidget& QtWindowOf(TForm& form)
{
    return static_cast<TQtFormWindow&>(dynamic_cast<TDeclaredForm&>(form).Window());
}
