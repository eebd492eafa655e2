#pragma once

#include <functional>

class QPoint;
class QUrl;
class QWebEngineView;

// The page's context menu (PageMenu.h) at at, in the view's coordinates. The engine's own
// menu also offers new tabs and windows, saving and the like, which the view does not do.
void ShowWebContextMenu(QWebEngineView& view, const QPoint& at, const std::function<void(const QUrl&)>& openInBrowser);
