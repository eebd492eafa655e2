#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <vector>

struct TShownBox
{
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon;
};

// Plays the user for message boxes: records each one shown and presses its OK.
class TMessageBoxWatcher
{
public:
    TMessageBoxWatcher();

    std::vector<TShownBox> Boxes;

private:
    QTimer m_timer;
};
