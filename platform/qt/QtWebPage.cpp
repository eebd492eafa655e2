#include "platform/qt/QtWebPage.h"

void TQtWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) { }
