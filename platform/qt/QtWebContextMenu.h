#pragma once

#include <functional>

class QPoint;
class QUrl;
class QWebEngineView;

// The page's context menu, with only what the view carries out: Back, Forward, Reload; Copy
// where text is selected; Copy link address and "Open link in browser" on a link. The engine's
// own menu also offers new tabs and windows, saving and the like, which the view does not do.
// at is in the view's coordinates.
void ShowWebContextMenu(QWebEngineView& view, const QPoint& at, const std::function<void(const QUrl&)>& openInBrowser);
