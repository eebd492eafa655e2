#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <vector>

struct TShownBox
{
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon;
};

// Plays the user for message boxes: records each one as it is shown, so two boxes
// in a row count as two wherever they were made, and while Answer holds presses its OK.
class TMessageBoxWatcher : public QObject
{
public:
    TMessageBoxWatcher();
    ~TMessageBoxWatcher() override;

    std::vector<TShownBox> Boxes;
    bool Answer = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
