// The widget scenarios' driver for the Qt backend, on Qt's offscreen platform.
#include "platform/qt/QtControls.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtListBox.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/QtPlatform.h"
#include "QtTestPlatform.h"
#include "WidgetDriver.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

// The one place the scenarios reach a form's window.
QWidget& NativeWindow(TForm& form)
{
    return QtWindowOf(form);
}

// The widget whose coordinates are the control's: a list's viewport, which its rows fill.
QWidget& ClientWidget(TControl& control)
{
    if (auto* list = dynamic_cast<TQtListBox*>(&control))
        return *list->View().viewport();
    if (auto* button = dynamic_cast<TQtButton*>(&control))
        return *button->Widget();
    if (auto* label = dynamic_cast<TQtLabel*>(&control))
        return *label->Widget();
    return *dynamic_cast<TQtEdit&>(control).Widget();
}

QListView& ViewOf(TListBox& list)
{
    return dynamic_cast<TQtListBox&>(list).View();
}

Qt::MouseButton QtButton(TMouseButton button)
{
    switch (button) {
    case TMouseButton::Left:
        return Qt::LeftButton;
    case TMouseButton::Right:
        return Qt::RightButton;
    case TMouseButton::Middle:
        break;
    }
    return Qt::MiddleButton;
}

Qt::Key QtKey(const TKey& key)
{
    switch (key.Name) {
    case TKey::TName::Character:
        return static_cast<Qt::Key>(key.Character);
    case TKey::TName::Down:
        return Qt::Key_Down;
    case TKey::TName::Tab:
        return key.Shift ? Qt::Key_Backtab : Qt::Key_Tab;
    case TKey::TName::Enter:
        return Qt::Key_Return;
    case TKey::TName::Escape:
        return Qt::Key_Escape;
    case TKey::TName::Space:
        return Qt::Key_Space;
    case TKey::TName::ContextMenu:
        break;
    }
    return Qt::Key_Menu;
}

// The offscreen platform has no window manager to activate a window as it shows: a modal
// form shown takes the keyboard, and without one the window shown last does.
void ActivateShownWindow()
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window && !QApplication::activeWindow()) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (auto shown = windows.rbegin(); shown != windows.rend() && !window; ++shown)
            if ((*shown)->isVisible() && !qobject_cast<QMenu*>(*shown))
                window = *shown;
    }
    if (window && !window->isActiveWindow())
        QApplication::setActiveWindow(window);
}

std::string KeyName(int key)
{
    switch (key) {
    case Qt::Key_Return:
        return "Enter";
    case Qt::Key_Control:
        return "Ctrl";
    default:
        return QKeySequence(key).toString().toStdString();
    }
}

// Keeps the key events a widget gets; posted ones are Ostrel's, the keyboard's come spontaneous.
class TKeyRecorder : public QObject
{
public:
    std::vector<TKeyStroke> Strokes;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto& key = static_cast<QKeyEvent&>(*event);
            const bool down = event->type() == QEvent::KeyPress;
            Strokes.push_back({ KeyName(key.key()), down, down ? key.text().toStdString() : "", !key.spontaneous() });
        }
        return false;
    }
};

// Receives what the program hands to the desktop's browser.
class TUrlRecorder : public QObject
{
    Q_OBJECT

public:
    std::string Url;

public slots:
    void Open(const QUrl& url) { Url = url.toString().toStdString(); }
};

QMenu* OpenQtMenu()
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu && menu->isVisible() ? menu : nullptr;
}

class TQtWidgetDriver : public TWidgetDriver
{
public:
    TPlatform& Platform() override { return TestPlatform(); }
    std::unique_ptr<TPicture> SolidPicture(int size, std::uint32_t colour) override
    {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(0xFF000000 | colour);
        return std::make_unique<TQtPicture>(image);
    }

    bool WaitFor(const std::function<bool()>& condition) override
    {
        QApplication::processEvents();
        return QTest::qWaitFor(
            [&] {
                ActivateShownWindow();
                return condition();
            },
            10000);
    }
    void RunSoon(std::function<void()> action) override
    {
        // Goes with the driver, so an action a test left waiting never runs into the next test.
        QTimer::singleShot(10, m_pending.get(), std::move(action));
    }

    void Press(TControl& control, TMouseButton button, TPoint at) override
    {
        // A press activates the window under the pointer, as the window system does.
        QWidget& widget = ClientWidget(control);
        if (!widget.isActiveWindow())
            QApplication::setActiveWindow(widget.window());
        QTest::mousePress(&widget, QtButton(button), {}, QPoint(at.X, at.Y));
    }
    void Release(TControl& control, TMouseButton button, TPoint at) override
    {
        QTest::mouseRelease(&ClientWidget(control), QtButton(button), {}, QPoint(at.X, at.Y));
        if (button == TMouseButton::Right)
            RequestMenu(control, at);
    }
    void RequestMenu(TControl& control, TPoint at) override
    {
        QWidget& widget = ClientWidget(control);
        const bool fromKeyboard = at.X == -1 && at.Y == -1;
        const QPoint local = fromKeyboard ? QPoint(0, 0) : QPoint(at.X, at.Y);
        QContextMenuEvent event(fromKeyboard ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse, local,
                                widget.mapToGlobal(local));
        QApplication::sendEvent(&widget, &event);
    }
    void Type(const std::vector<TKey>& keys) override
    {
        ActivateShownWindow();
        for (const TKey& key : keys) {
            QWidget* target = QApplication::activePopupWidget();
            if (!target)
                target = QApplication::focusWidget();
            if (!target)
                target = QApplication::activeWindow();
            if (!target) {
                ADD_FAILURE() << "no window has the keyboard";
                return;
            }
            Qt::KeyboardModifiers modifiers;
            if (key.Ctrl)
                modifiers |= Qt::ControlModifier;
            if (key.Shift)
                modifiers |= Qt::ShiftModifier;
            QTest::keyClick(target, QtKey(key), modifiers);
            // The window system, not Qt, turns the context-menu key into a menu request.
            if (key.Name == TKey::TName::ContextMenu) {
                QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(0, 0), target->mapToGlobal(QPoint(0, 0)));
                QApplication::sendEvent(target, &request);
            }
        }
        QApplication::processEvents();
    }
    void Click(TButton& button) override { QTest::mouseClick(&ClientWidget(button), Qt::LeftButton); }
    void CloseByFrame(TForm& form) override { NativeWindow(form).close(); }
    bool Maximised(TForm& form) override { return NativeWindow(form).isMaximized(); }
    void ShowNormalAt(TForm& form, int clientWidth, int clientHeight) override
    {
        QWidget& window = NativeWindow(form);
        window.showNormal();
        window.resize(clientWidth, clientHeight);
        WaitFor([&] { return window.size() == QSize(clientWidth, clientHeight); });
    }
    bool OwnedBy(TForm& owned, TForm& owner) override
    {
        const QWidget& dialog = NativeWindow(owned);
        const QWidget& main = NativeWindow(owner);
        return dialog.parentWidget() == &main && dialog.windowType() == Qt::Dialog
            && dialog.windowHandle()->transientParent() == main.windowHandle();
    }
    void ClearFocus() override
    {
        if (QWidget* window = QApplication::activeWindow())
            window->setFocus();
    }

    void RecordKeys() override
    {
        m_keys = std::make_unique<TKeyRecorder>();
        if (QWidget* focused = QApplication::focusWidget())
            focused->installEventFilter(m_keys.get());
        else
            ADD_FAILURE() << "no control has the keyboard";
    }
    std::vector<TKeyStroke> RecordedKeys() override
    {
        // Ostrel posts what it injects: a few turns of the loop let it, and any echo, arrive.
        for (int round = 0; round < 5; ++round)
            QApplication::processEvents();
        return m_keys->Strokes;
    }

    TLabelLook Look(TLabel& label) override
    {
        const QWidget& widget = ClientWidget(label);
        return { widget.palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, widget.font().bold(),
                 widget.font().underline(), widget.cursor().shape() == Qt::PointingHandCursor };
    }
    void Hover(TControl& control) override
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&ClientWidget(control), &enter);
    }
    void Leave(TControl& control) override
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&ClientWidget(control), &leave);
    }
    std::string AddressOpenedBy(const std::function<void()>& action) override
    {
        TUrlRecorder browser;
        QDesktopServices::setUrlHandler("https", &browser, "Open");
        QDesktopServices::setUrlHandler("http", &browser, "Open");
        action();
        WaitFor([&] { return !browser.Url.empty(); });
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("http");
        return browser.Url;
    }

    TSnapshot Capture(TControl& control) override
    {
        // The view lays its rows out when its event loop turns.
        QApplication::processEvents();
        const QImage image = ClientWidget(control).grab().toImage().convertToFormat(QImage::Format_RGB32);
        TSnapshot snapshot { image.width(), image.height(), {} };
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                snapshot.Pixels.push_back(image.pixel(x, y) & 0xFFFFFF);
        return snapshot;
    }
    std::uint32_t WindowColour(TListBox& list) override
    {
        return ViewOf(list).palette().color(QPalette::Base).rgba() & 0xFFFFFF;
    }
    void MoveCaret(TListBox& list, int row) override
    {
        QListView& view = ViewOf(list);
        view.selectionModel()->setCurrentIndex(view.model()->index(row, 0), QItemSelectionModel::NoUpdate);
    }
    int VerticalScrollBarWidth(TListBox& list) override
    {
        QApplication::processEvents();
        const QScrollBar& bar = *ViewOf(list).verticalScrollBar();
        return bar.isVisible() ? bar.width() : 0;
    }
    bool ScrollsSideways(TListBox& list) override
    {
        QApplication::processEvents();
        return ViewOf(list).horizontalScrollBar()->maximum() > 0;
    }
    void ScrollDown(TListBox& list) override
    {
        ViewOf(list).verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }

    bool MenuOpen() override { return OpenQtMenu(); }
    TPoint MenuTopLeft() override
    {
        const QPoint at = OpenQtMenu()->pos();
        return { at.x(), at.y() };
    }
    void CloseMenu() override
    {
        if (QMenu* menu = OpenQtMenu())
            menu->close();
    }
    TPoint ToScreen(TControl& control, TPoint at) override
    {
        const QPoint global = ClientWidget(control).mapToGlobal(QPoint(at.X, at.Y));
        return { global.x(), global.y() };
    }
    std::vector<std::string> MenuCaptions(TPopupMenu& menu) override
    {
        std::vector<std::string> captions;
        for (const QAction* action : dynamic_cast<TQtPopupMenu&>(menu).Menu().actions())
            if (!action->isSeparator())
                captions.push_back(action->text().toStdString());
        return captions;
    }

    std::string AccessibleRowName(TListBox& list, int row) override
    {
        return Row(list, row).text(QAccessible::Name).toStdString();
    }
    std::string AccessibleRowDescription(TListBox& list, int row) override
    {
        return Row(list, row).text(QAccessible::Description).toStdString();
    }
    std::string SystemWithoutRowDescriptions() override { return {}; }

private:
    // The interfaces Qt hands to the system's accessibility bridge. A live bridge hears of
    // the rows' changes and drops the rows' interfaces it cached; without one, the list's
    // interface is made anew for each reading instead.
    static QAccessibleInterface& Row(TListBox& list, int row)
    {
        QListView& view = ViewOf(list);
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&view)));
        return *QAccessible::queryAccessibleInterface(&view)->child(row);
    }

    std::unique_ptr<QObject> m_pending = std::make_unique<QObject>();
    std::unique_ptr<TKeyRecorder> m_keys = std::make_unique<TKeyRecorder>();
};

} // namespace

std::unique_ptr<TWidgetDriver> CreateWidgetDriver()
{
    return std::make_unique<TQtWidgetDriver>();
}

#include "QtWidgetDriver.moc"
