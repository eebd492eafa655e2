#include "platform/qt/QtWebContextMenu.h"

#include <QMenu>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineHistory>
#include <QWebEngineView>

void ShowWebContextMenu(QWebEngineView& view, const QPoint& at, const std::function<void(const QUrl&)>& openInBrowser)
{
    const QWebEngineContextMenuRequest* request = view.lastContextMenuRequest();
    if (!request)
        return;
    QWebEnginePage& page = *view.page();
    QMenu menu(&view);
    const auto add = [&](const QString& text, QWebEnginePage::WebAction action, bool enabled = true) {
        menu.addAction(text, &view, [&page, action] { page.triggerAction(action); })->setEnabled(enabled);
    };
    add(QStringLiteral("Back"), QWebEnginePage::Back, page.history()->canGoBack());
    add(QStringLiteral("Forward"), QWebEnginePage::Forward, page.history()->canGoForward());
    add(QStringLiteral("Reload"), QWebEnginePage::Reload);
    if (!request->selectedText().isEmpty()) {
        menu.addSeparator();
        add(QStringLiteral("Copy"), QWebEnginePage::Copy);
    }
    const QUrl link = request->linkUrl();
    if (link.isValid()) {
        menu.addSeparator();
        add(QStringLiteral("Copy link address"), QWebEnginePage::CopyLinkToClipboard);
        menu.addAction(QStringLiteral("Open link in browser"), &view, [&openInBrowser, link] { openInBrowser(link); });
    }
    menu.exec(view.mapToGlobal(at));
}
