#pragma once

#include "platform/Form.h"

#include <QPointer>
#include <QWidget>
#include <string>

// The TControl part of a control backed by one widget. The widget's Qt parent
// may delete it first (when the window goes), so it is watched, never owned twice.
template <class TBase> class TQtWidgetControl : public TBase
{
public:
    TQtWidgetControl(std::string name, QWidget* widget)
        : m_name(std::move(name))
        , m_widget(widget)
    { }
    ~TQtWidgetControl() override { delete m_widget.data(); }
    TQtWidgetControl(const TQtWidgetControl&) = delete;
    TQtWidgetControl& operator=(const TQtWidgetControl&) = delete;

    std::string Name() const override { return m_name; }
    bool Visible() const override { return m_widget && !m_widget->isHidden(); }
    void SetVisible(bool visible) override
    {
        if (m_widget)
            m_widget->setVisible(visible);
    }
    bool Enabled() const override { return m_widget && m_widget->isEnabled(); }
    void SetEnabled(bool enabled) override
    {
        if (m_widget)
            m_widget->setEnabled(enabled);
    }
    // Qt's logical pixels are the 96-dpi pixels the declarations use.
    TBounds Bounds() const override
    {
        if (!m_widget)
            return {};
        const QRect geometry = m_widget->geometry();
        return { geometry.x(), geometry.y(), geometry.width(), geometry.height() };
    }
    void SetFocus() override
    {
        if (m_widget)
            m_widget->setFocus(Qt::OtherFocusReason);
    }
    bool Focused() const override { return m_widget && m_widget->hasFocus(); }

    QWidget* Widget() const { return m_widget; }

private:
    std::string m_name;
    QPointer<QWidget> m_widget;
};
