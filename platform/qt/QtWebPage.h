#pragma once

#include <QWebEnginePage>

// The page of the web view. The program keeps no log, so script errors and
// console output go nowhere: no dialog, nothing printed.
class TQtWebPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;
};
