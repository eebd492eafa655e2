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

// Plays the user for message boxes: records each one shown and, while Answer holds, presses its OK.
class TMessageBoxWatcher
{
public:
    TMessageBoxWatcher();

    std::vector<TShownBox> Boxes;
    bool Answer = true;

private:
    QTimer m_timer;
    const QMessageBox* m_lastSeen = nullptr;
};
