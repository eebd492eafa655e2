#include "platform/qt/QtAccessibility.h"

#include "platform/qt/QtFormWindow.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QWindow>

namespace {

// The program as the root of its accessible windows.
class TAccessibleProgram : public QAccessibleObject
{
public:
    TAccessibleProgram()
        : QAccessibleObject(qApp)
    { }

    QWindow* window() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return nullptr; }
    int childCount() const override { return static_cast<int>(Windows().size()); }
    QAccessibleInterface* child(int index) const override { return Windows().value(index); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return static_cast<int>(Windows().indexOf(child));
    }
    QAccessibleInterface* focusChild() const override
    {
        QWindow* focus = QGuiApplication::focusWindow();
        return focus ? focus->accessibleRoot() : nullptr;
    }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? QGuiApplication::applicationName() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Application; }
    QAccessible::State state() const override { return {}; }

private:
    // The top-level windows of widgets in the order they were made; menus come and go unlisted.
    static QList<QAccessibleInterface*> Windows()
    {
        QList<QAccessibleInterface*> windows;
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (window->type() == Qt::Popup)
                continue;
            QAccessibleInterface* root = window->accessibleRoot();
            if (root && root->object() && root->object()->isWidgetType())
                windows.append(root);
        }
        return windows;
    }
};

QAccessibleInterface* Accessibility(const QString& className, QObject* object)
{
    if (object == qApp)
        return new TAccessibleProgram;
    // The web engine's own objects carry no run-time type information, so only widgets of the
    // class a form window reports (it declares no class of its own to Qt) are looked at closer.
    if (className != QLatin1String("QWidget") || !object->isWidgetType())
        return nullptr;
    auto* window = dynamic_cast<TQtFormWindow*>(object);
    if (!window)
        return nullptr;
    // Later forms are owned by the main form (Form.h), which has no parent.
    const auto role = window->parentWidget() ? QAccessible::Dialog : QAccessible::Window;
    return new QAccessibleWidget(window, role);
}

} // namespace

void InstallAccessibility()
{
    QAccessible::installFactory(Accessibility);
}
