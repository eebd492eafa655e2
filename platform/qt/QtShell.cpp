#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

void TQtShell::OpenUrl(const std::string& url)
{
    // The outcome is of no interest: a missing browser is not the program's failure.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}
