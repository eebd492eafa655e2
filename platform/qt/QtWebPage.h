#pragma once

#include <QWebEnginePage>

// The page of the web view. The program keeps no log, so script errors and
// console output go nowhere: no dialog, nothing printed. Everything else the
// page asks of its host (new windows, downloads, prompts) keeps the engine's
// default handling.
class TQtWebPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;
};
