#include "platform/qt/QtForm.h"

#include "platform/OstrelError.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtIcon.h"
#include "platform/qt/QtListBox.h"
#include "platform/qt/QtString.h"
#include "platform/qt/QtWebBrowser.h"

#include <algorithm>
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

TQtFormWindow::TQtFormWindow(TQtForm& form)
    : m_form(form)
{ }

bool TQtFormWindow::PreviewKey(QKeyEvent& event)
{
    // Only keys from the system's input are typed. Keys sent by the program are not: the injected
    // sequence, and the copies the web view hands its parent of keys the page left unhandled, which
    // would otherwise be previewed a second time and inject again, one sequence after another.
    if (!event.spontaneous() || event.text().isEmpty())
        return false;
    char16_t key = event.text().at(0).unicode();
    return m_form.PreviewKey(key);
}

void TQtFormWindow::closeEvent(QCloseEvent* event)
{
    // The form decides in its close query; the window itself stays until the form lets it go.
    event->ignore();
    m_form.Close();
}

void TQtFormWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_form.Resized();
}

void TQtFormWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar is shown by the system again; only the program's own showing counts.
    // The handler runs once the window is up, so that boxes it shows lie above the window, with or without a
    // window manager to stack them.
    if (!event->spontaneous())
        QMetaObject::invokeMethod(
            this, [this] { m_form.Shown(); }, Qt::QueuedConnection);
}

TQtForm::TQtForm(const TFormDecl& decl, TQtApplication& application)
    : m_decl(decl)
    , m_application(application)
    , m_dispatch([&application](const std::function<void()>& handler) { application.Dispatch(handler); })
    , m_window(std::make_unique<TQtFormWindow>(*this))
{
    // A form made after the main form is its dialog: kept over it by the window manager, without a
    // task-bar entry of its own. The frame keeps every box a main window has.
    if (TQtForm* owner = m_application.MainForm())
        m_window->setParent(&owner->Window(),
                            Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                                | Qt::WindowCloseButtonHint);
    m_window->setObjectName(ToQString(decl.Name));
    m_window->setWindowTitle(ToQString(decl.Caption));
    m_window->setFont(FormFont(decl.Font));
    auto palette = m_window->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    m_window->setPalette(palette);
    if (!decl.IconResource.empty())
        m_window->setWindowIcon(LoadIcon(decl.IconResource));
    m_window->resize(decl.ClientWidth, decl.ClientHeight);
    CreateControls();
    SetTabOrder();
    Resized();
    m_application.FormCreated(*this);
}

TQtForm::~TQtForm()
{
    m_application.FormDestroyed(*this);
    // Each form deletes its own window: the main window lets go of its dialogs' windows before it goes.
    for (auto* owned : m_window->findChildren<TQtFormWindow*>(Qt::FindDirectChildrenOnly))
        owned->setParent(nullptr);
}

std::string TQtForm::Caption() const
{
    return m_window->windowTitle().toStdString();
}

void TQtForm::SetCaption(const std::string& caption)
{
    m_window->setWindowTitle(ToQString(caption));
}

TPopupMenu& TQtForm::PopupMenu(std::string_view name)
{
    const auto found = m_popupMenus.find(name);
    if (found == m_popupMenus.end())
        ThrowNoControl(name);
    return *found->second;
}

void TQtForm::CreateControls()
{
    // Menus first, so that a list declared before its menu can be given it.
    for (const auto& decl : m_decl.Controls) {
        if (decl.Kind == TControlKind::PopupMenu)
            m_popupMenus.emplace(decl.Name, std::make_unique<TQtPopupMenu>(decl, m_window->font(), m_dispatch));
    }
    for (const auto& decl : m_decl.Controls) {
        if (decl.Kind != TControlKind::PopupMenu)
            CreateControl(decl);
    }
}

void TQtForm::CreateControl(const TControlDecl& decl)
{
    QWidget* parent = m_window.get();
    switch (decl.Kind) {
    case TControlKind::Button:
        return Adopt(decl, std::make_unique<TQtButton>(decl, parent, m_dispatch));
    case TControlKind::Label:
        return Adopt(decl, std::make_unique<TQtLabel>(decl, parent, m_dispatch));
    case TControlKind::ProgressBar:
        return Adopt(decl, std::make_unique<TQtProgressBar>(decl, parent));
    case TControlKind::Edit:
        return Adopt(decl, std::make_unique<TQtEdit>(decl, parent));
    case TControlKind::ListBox: {
        auto listBox = CreateQtListBox(decl, parent, m_dispatch);
        if (!decl.PopupMenu.empty())
            listBox->SetPopupMenu(&static_cast<TQtPopupMenu&>(PopupMenu(decl.PopupMenu)).Menu());
        return Adopt(decl, std::move(listBox));
    }
    case TControlKind::WebBrowser:
        return Adopt(decl, CreateQtWebBrowser(decl, parent, m_dispatch));
    case TControlKind::PopupMenu:
        return;
    }
}

template <class TQtControl> void TQtForm::Adopt(const TControlDecl& decl, std::unique_ptr<TQtControl> control)
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
    m_controls.emplace(decl.Name, std::move(control));
}

void TQtForm::SetTabOrder()
{
    std::vector<const TControlDecl*> stops;
    for (const auto& decl : m_decl.Controls) {
        if (decl.TabOrder >= 0 && m_controls.contains(decl.Name))
            stops.push_back(&decl);
    }
    std::ranges::stable_sort(stops, {}, &TControlDecl::TabOrder);
    auto widgetOf = [this](const TControlDecl* decl) {
        return m_window->findChild<QWidget*>(ToQString(decl->Name), Qt::FindDirectChildrenOnly);
    };
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(widgetOf(stops[i - 1]), widgetOf(stops[i]));
}

void TQtForm::Resized()
{
    for (const auto& placed : m_placed)
        Place(placed);
}

void TQtForm::Place(const TPlacedWidget& placed) const
{
    // Anchored sides keep their distance to the same side of the client area as declared.
    const int growX = m_window->width() - m_decl.ClientWidth;
    const int growY = m_window->height() - m_decl.ClientHeight;
    const auto& anchors = placed.Anchors;
    const auto& bounds = placed.Bounds;
    const int width = bounds.Width == 0 ? placed.Widget->width() : bounds.Width;
    const int left = anchors.Left || !anchors.Right ? bounds.Left : bounds.Left + growX;
    const int top = anchors.Top || !anchors.Bottom ? bounds.Top : bounds.Top + growY;
    const int stretchedWidth = anchors.Left && anchors.Right ? width + growX : width;
    const int stretchedHeight = anchors.Top && anchors.Bottom ? bounds.Height + growY : bounds.Height;
    placed.Widget->setGeometry(left, top, std::max(stretchedWidth, 0), std::max(stretchedHeight, 0));
}

void TQtForm::Show()
{
    if (m_decl.StartMaximized) {
        // Without a window manager nobody maximises the window: fill the screen's work area ourselves.
        m_window->setGeometry(m_window->screen()->availableGeometry());
        m_window->showMaximized();
    } else
        m_window->show();
}

void TQtForm::Shown()
{
    m_dispatch([this] {
        if (OnShow)
            OnShow();
    });
}

void TQtForm::Close()
{
    bool canClose = true;
    m_dispatch([&] {
        if (OnCloseQuery)
            OnCloseQuery(canClose);
    });
    if (!canClose)
        return;
    if (m_modalLoop)
        SetModalResult(ModalResultCancel);
    else if (m_application.MainForm() == this)
        m_application.Terminate();
    else
        m_window->hide();
}

int TQtForm::ShowModal()
{
    if (m_application.Terminated())
        return ModalResultCancel;
    m_modalResult = 0;
    m_window->setWindowModality(Qt::ApplicationModal);
    m_window->show();
    QEventLoop loop;
    m_modalLoop = &loop;
    m_application.ModalStarted(*this);
    if (m_modalResult == 0)
        loop.exec();
    m_application.ModalEnded(*this);
    m_modalLoop = nullptr;
    m_window->hide();
    m_window->setWindowModality(Qt::NonModal);
    return m_modalResult;
}

void TQtForm::SetModalResult(int result)
{
    m_modalResult = result;
    if (result != 0 && m_modalLoop)
        m_modalLoop->exit();
}

bool TQtForm::PreviewKey(char16_t& key)
{
    if (!m_decl.KeyPreview)
        return false;
    m_dispatch([&] {
        if (OnKeyPress)
            OnKeyPress(key);
    });
    // A handler that clears the key swallows it.
    return key == 0;
}

void TQtForm::ThrowNoControl(std::string_view name) const
{
    throw EOstrelError("No control " + std::string(name) + " in " + m_decl.Name);
}
