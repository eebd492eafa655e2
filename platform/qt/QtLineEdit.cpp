#include "platform/qt/QtLineEdit.h"

#include <limits>
#include <QFocusEvent>

TQtLineEdit::TQtLineEdit(const QString& text, QWidget* parent)
    : QLineEdit(parent)
{
    // Qt's default cuts texts at 32767 characters, setText included.
    setMaxLength(std::numeric_limits<int>::max());
    setText(text);
}

void TQtLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // A click places the cursor where the user pointed instead.
    if (event->reason() != Qt::MouseFocusReason)
        selectAll();
}
