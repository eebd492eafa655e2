#pragma once

#include <QLineEdit>

// A single-line edit box without a length limit that selects its whole text
// whenever it receives the focus other than by a mouse click; Qt's own box does
// so only for Tab.
class TQtLineEdit : public QLineEdit
{
public:
    TQtLineEdit(const QString& text, QWidget* parent);

protected:
    void focusInEvent(QFocusEvent* event) override;
};
