#pragma once

#include <QObject>

class QWebEngineView;

// The keys that browse the view's history, as in a browser: Alt+Left goes back, Alt+Right
// forward, F5 and Ctrl+R reload. The engine leaves these to its host (it takes the mouse's
// back and forward buttons itself). It takes input in a child widget that it replaces when a
// page moves to another renderer, so every child the view gets is watched.
class TQtBrowsingInput : public QObject
{
public:
    explicit TQtBrowsingInput(QWebEngineView& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWebEngineView& m_view;
};
