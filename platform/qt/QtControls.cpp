#include "platform/qt/QtControls.h"

#include "platform/OstrelError.h"
#include "platform/qt/QtLineEdit.h"
#include "platform/qt/QtString.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// Raises a bound event through the form's dispatch wrapper; an unbound event does nothing.
void Raise(const TDispatch& dispatch, const std::function<void()>& event)
{
    dispatch([&event] {
        if (event)
            event();
    });
}

} // namespace

TQtButton::TQtButton(const TControlDecl& decl, QWidget* parent, TDispatch dispatch)
    : TQtWidgetControl(decl.Name, new TQtPushButton(ToQString(decl.Caption), parent))
{
    auto* button = static_cast<QPushButton*>(Widget());
    // Qt lets Enter press only the buttons of its own dialogs; ours are pressed by it in every form. No form
    // is a QDialog, so no button becomes a default that Enter in another control would press.
    button->setAutoDefault(true);
    QObject::connect(button, &QPushButton::clicked, button, [this, dispatch] { Raise(dispatch, OnClick); });
}

void TQtPushButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->isAutoRepeat()) {
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TQtLabelWidget::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (Entered)
        Entered();
}

void TQtLabelWidget::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (Left)
        Left();
}

void TQtLabelWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    // A click is a primary-button release over the label, like a button's.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && Clicked)
        Clicked();
}

TQtLabel::TQtLabel(const TControlDecl& decl, QWidget* parent, TDispatch dispatch)
    : TQtWidgetControl(decl.Name, new TQtLabelWidget(ToQString(decl.Caption), parent))
    , m_autoSize(decl.Bounds.Width == 0)
    , m_describesCaption(!decl.AccessibleName.empty())
{
    auto& label = static_cast<TQtLabelWidget&>(LabelWidget());
    if (m_describesCaption)
        label.setAccessibleDescription(label.text());
    // A caption may come from the network or from the user: never read it as markup.
    label.setTextFormat(Qt::PlainText);
    if (decl.Bold) {
        auto font = label.font();
        font.setBold(true);
        label.setFont(font);
    }
    if (decl.FontColor) {
        auto palette = label.palette();
        palette.setColor(QPalette::WindowText, QColor::fromRgb(*decl.FontColor));
        label.setPalette(palette);
    }
    if (decl.Cursor == TCursorKind::HandPoint)
        label.setCursor(Qt::PointingHandCursor);
    // A QLabel paints no background of its own unless asked to, so it is transparent already.
    label.setAutoFillBackground(!decl.Transparent);
    label.Entered = [this, dispatch] { Raise(dispatch, OnMouseEnter); };
    label.Left = [this, dispatch] { Raise(dispatch, OnMouseLeave); };
    label.Clicked = [this, dispatch] { Raise(dispatch, OnClick); };
    FitCaption();
}

std::string TQtLabel::Caption() const
{
    return LabelWidget().text().toStdString();
}

void TQtLabel::SetCaption(const std::string& caption)
{
    LabelWidget().setText(ToQString(caption));
    if (m_describesCaption)
        LabelWidget().setAccessibleDescription(LabelWidget().text());
    FitCaption();
}

void TQtLabel::FitCaption()
{
    if (m_autoSize)
        LabelWidget().resize(LabelWidget().sizeHint().width(), LabelWidget().height());
}

bool TQtLabel::Underlined() const
{
    return LabelWidget().font().underline();
}

void TQtLabel::SetUnderlined(bool underlined)
{
    auto font = LabelWidget().font();
    font.setUnderline(underlined);
    LabelWidget().setFont(font);
}

bool TQtLabel::Bold() const
{
    return LabelWidget().font().bold();
}

TQtProgressBar::TQtProgressBar(const TControlDecl& decl, QWidget* parent)
    : TQtWidgetControl(decl.Name, new QProgressBar(parent))
{
    Bar().setRange(0, decl.Max);
    Bar().setValue(0);
    Bar().setTextVisible(false);
}

int TQtProgressBar::Position() const
{
    return Bar().value();
}

void TQtProgressBar::SetPosition(int position)
{
    Bar().setValue(position);
}

TQtEdit::TQtEdit(const TControlDecl& decl, QWidget* parent)
    : TQtWidgetControl(decl.Name, new TQtLineEdit(ToQString(decl.Caption), parent))
{ }

std::string TQtEdit::Text() const
{
    return LineEdit().text().toStdString();
}

void TQtEdit::SetText(const std::string& text)
{
    LineEdit().setText(ToQString(text));
}

TQtMenuItem::TQtMenuItem(const TMenuItemDecl& decl, QMenu& menu, TDispatch dispatch)
    : m_decl(decl)
{
    if (decl.Caption == "-") {
        menu.addSeparator();
        return;
    }
    auto* action = menu.addAction(ToQString(decl.Caption));
    QObject::connect(action, &QAction::triggered, action, [this, dispatch] { Raise(dispatch, OnClick); });
}

TQtPopupMenu::TQtPopupMenu(const TControlDecl& decl, const QFont& font, TDispatch dispatch)
    : m_name(decl.Name)
    , m_menu(std::make_unique<QMenu>())
{
    m_menu->setFont(font);
    for (const auto& item : decl.Items)
        m_items.push_back(std::make_unique<TQtMenuItem>(item, *m_menu, dispatch));
}

TMenuItem& TQtPopupMenu::Item(std::string_view name)
{
    for (auto& item : m_items) {
        if (item->Name() == name)
            return *item;
    }
    throw EOstrelError("No menu item " + std::string(name) + " in " + m_name);
}
