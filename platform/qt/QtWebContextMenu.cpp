#include "platform/qt/QtWebContextMenu.h"

#include "platform/common/PageMenu.h"
#include "platform/qt/QtString.h"

#include <QMenu>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace {

QWebEnginePage::WebAction PageAction(TPageCommand command)
{
    switch (command) {
    case TPageCommand::Back:
        return QWebEnginePage::Back;
    case TPageCommand::Forward:
        return QWebEnginePage::Forward;
    case TPageCommand::Reload:
        return QWebEnginePage::Reload;
    case TPageCommand::Copy:
        return QWebEnginePage::Copy;
    case TPageCommand::CopyLinkAddress:
        return QWebEnginePage::CopyLinkToClipboard;
    case TPageCommand::OpenLinkInBrowser:
        break;
    }
    return QWebEnginePage::NoWebAction;
}

} // namespace

void ShowWebContextMenu(QWebEngineView& view, const QPoint& at, const std::function<void(const QUrl&)>& openInBrowser)
{
    const QWebEngineContextMenuRequest* request = view.lastContextMenuRequest();
    if (!request)
        return;
    QWebEnginePage& page = *view.page();
    const QUrl link = request->linkUrl();
    const TPagePlace place { page.history()->canGoBack(), page.history()->canGoForward(),
                             !request->selectedText().isEmpty(), link.isValid() };
    QMenu menu(&view);
    for (const TPageMenuItem& item : PageMenuItems(place)) {
        if (item.StartsGroup)
            menu.addSeparator();
        QAction* action = menu.addAction(ToQString(item.Caption));
        action->setEnabled(item.Enabled);
        QObject::connect(action, &QAction::triggered, &view, [&, command = item.Command] {
            if (command == TPageCommand::OpenLinkInBrowser)
                openInBrowser(link);
            else
                page.triggerAction(PageAction(command));
        });
    }
    menu.exec(view.mapToGlobal(at));
}
