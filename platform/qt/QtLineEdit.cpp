#include "platform/qt/QtLineEdit.h"

#include <QFocusEvent>

void TQtLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // A click places the cursor where the user pointed instead.
    if (event->reason() != Qt::MouseFocusReason)
        selectAll();
}
