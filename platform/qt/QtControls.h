#pragma once

#include "platform/common/Dispatch.h"
#include "platform/Form.h"
#include "platform/qt/QtWidgetControl.h"

#include <memory>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <vector>

class TQtButton : public TQtWidgetControl<TButton>
{
public:
    TQtButton(const TControlDecl& decl, QWidget* parent, TDispatch dispatch);
};

// The QPushButton behind TQtButton: a held Enter presses it once, not at every repeat.
class TQtPushButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The QLabel behind TQtLabel: reports the pointer entering, leaving and clicking.
class TQtLabelWidget : public QLabel
{
public:
    using QLabel::QLabel;

    std::function<void()> Entered;
    std::function<void()> Left;
    std::function<void()> Clicked;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TQtLabel : public TQtWidgetControl<TLabel>
{
public:
    TQtLabel(const TControlDecl& decl, QWidget* parent, TDispatch dispatch);

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    bool Underlined() const override;
    void SetUnderlined(bool underlined) override;
    bool Bold() const override;

private:
    QLabel& LabelWidget() const { return static_cast<QLabel&>(*Widget()); }
    // A label declared without a width sizes itself to its caption.
    void FitCaption();

    bool m_autoSize;
    // With a name of its own, assistive technology reads the caption as the description.
    bool m_describesCaption;
};

class TQtProgressBar : public TQtWidgetControl<TProgressBar>
{
public:
    TQtProgressBar(const TControlDecl& decl, QWidget* parent);

    int Position() const override;
    void SetPosition(int position) override;

private:
    QProgressBar& Bar() const { return static_cast<QProgressBar&>(*Widget()); }
};

class TQtEdit : public TQtWidgetControl<TEdit>
{
public:
    TQtEdit(const TControlDecl& decl, QWidget* parent);

    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    QLineEdit& LineEdit() const { return static_cast<QLineEdit&>(*Widget()); }
};

class TQtMenuItem : public TMenuItem
{
public:
    TQtMenuItem(const TMenuItemDecl& decl, QMenu& menu, TDispatch dispatch);

    std::string Name() const override { return m_decl.Name; }
    std::string Caption() const override { return m_decl.Caption; }

private:
    TMenuItemDecl m_decl;
};

class TQtPopupMenu : public TPopupMenu
{
public:
    TQtPopupMenu(const TControlDecl& decl, const QFont& font, TDispatch dispatch);

    std::string Name() const override { return m_name; }
    int ItemCount() const override { return static_cast<int>(m_items.size()); }
    TMenuItem& Item(int index) override { return *m_items.at(static_cast<std::size_t>(index)); }
    TMenuItem& Item(std::string_view name) override;

    QMenu& Menu() { return *m_menu; }

private:
    std::string m_name;
    // A popup is a window of its own: nothing else owns it.
    std::unique_ptr<QMenu> m_menu;
    std::vector<std::unique_ptr<TQtMenuItem>> m_items;
};
