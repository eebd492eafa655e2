#include "platform/qt/QtWebBrowser.h"

#include "platform/OstrelError.h"
#include "platform/qt/QtBrowsingInput.h"
#include "platform/qt/QtString.h"
#include "platform/qt/QtWebContextMenu.h"
#include "platform/qt/QtWebPage.h"

#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

// How the engine's signals become the view's events and ready state:
//
// - Ready state. The view reports READYSTATE_UNINITIALIZED (0) before its first
//   navigation, READYSTATE_LOADING (1) from the moment Navigate is called until
//   the engine has started that load and finished loading (QWebEnginePage::isLoading),
//   and READYSTATE_COMPLETE (4) otherwise. Navigate marks the load pending itself
//   because the engine starts it asynchronously: without the mark a read right
//   after Navigate would still see the previous page's "complete". A load's
//   start clears the mark, and so does the end of a load that was not cut
//   short: when Navigate comes while an earlier load is still going, the engine
//   reports no new start, only the new load's end. The end of the earlier load,
//   cut short by the navigation ("aborted"), leaves the mark.
// - OnDownloadComplete. Raised for every main-frame load that ends, by
//   QWebEnginePage::loadingChanged with the status succeeded, failed or stopped:
//   a download that finishes, fails or is halted, as the event promises. A load
//   that a newer navigation cuts short ends this way too.
// - OnNavigateError. Raised before the download-complete event of a main-frame
//   load that ends with the status failed, except when a newer navigation or a
//   stop cut it short (the engine's "aborted", net error -3): that is no failure
//   of the address. The URL is the engine's own form of the failing address
//   (QWebEngineLoadingInfo::url), the status code the engine's error code.
// - Addresses the engine will not load. The engine drops without a word an
//   address QUrl cannot parse, and also many that QUrl takes but the engine's own
//   parser refuses ("http://", "http://:8080", "http://1.2.3.256/") and one
//   longer than its limit. Such a navigation fails through the event loop with
//   the engine's "invalid URL" (-300), naming the address as it was passed, and
//   the ready state stays as it was. The engine makes its pending entry for a
//   navigation it takes within load(), which is how a dropped one is told
//   (TQtWebBrowser::Load).
// - Error pages. The engine decides on its own error page before it tells the
//   host of the failure, so a cancel given afterwards cannot take the page back.
//   The view therefore asks for no error pages at all (ErrorPageEnabled off):
//   a failed navigation leaves no engine error page, in the main frame and in
//   frames alike, whatever the handler answers. Qt WebEngine 6.4 reports only
//   main-frame loads to the host, so a failing frame raises no OnNavigateError:
//   loadingChanged and loadFinished leave frames out, and a request interceptor
//   sees a frame's request before it is sent but never how it ends.
// - OnNewWindow. Raised for a page's request for a new window or tab that the
//   user made (a link with a target, a script run by a click, a middle click),
//   and for the context menu's "Open link in browser". The engine opens nothing
//   itself: the view makes no window for it (QWebEngineView::createWindow).
//   Requests a page makes on its own, which the engine lets through, are dropped.
// - The context menu and the keys that browse the history are the view's own
//   (ShowWebContextMenu, TQtBrowsingInput); the engine goes back and forward for
//   the mouse's buttons itself.
// - Everything else the page asks of its host (downloads, prompts, its title)
//   keeps the engine's default handling; script messages are dropped by TQtWebPage.
namespace {
constexpr int ReadyStateUninitialized = 0;
constexpr int ReadyStateLoading = 1;
constexpr int NoError = 0;
// The engine's own numbers: a load cut short, and an address it cannot parse.
constexpr int NetErrorAborted = -3;
constexpr int NetErrorInvalidUrl = -300;

// Whether the engine's form of an address names the one asked for. The engine
// writes an address in its own way: a slash for the empty path, no default port.
bool SameAddress(const QUrl& engineForm, const QUrl& asked)
{
    const auto plain = [](QUrl url) {
        if ((url.scheme() == QLatin1String("http") && url.port() == 80)
            || (url.scheme() == QLatin1String("https") && url.port() == 443))
            url.setPort(-1);
        return url.adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments);
    };
    return plain(engineForm) == plain(asked);
}
} // namespace

TQtWebBrowser::TQtWebBrowser(const TControlDecl& decl, QWidget* parent, TDispatch dispatch)
    : TQtWidgetControl(decl.Name, new QWebEngineView(parent))
    , m_dispatch(std::move(dispatch))
{
    QWebEngineView& view = View();
    view.setObjectName(ToQString(decl.Name));
    view.setGeometry(decl.Bounds.Left, decl.Bounds.Top, decl.Bounds.Width, decl.Bounds.Height);
    view.setVisible(decl.Visible);
    auto* page = new TQtWebPage(&view);
    page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    view.setPage(page);
    m_loadingChanged = QObject::connect(page, &QWebEnginePage::loadingChanged, &view,
                                        [this](const QWebEngineLoadingInfo& info) { LoadingChanged(info); });
    QObject::connect(page, &QWebEnginePage::newWindowRequested, &view, [this](QWebEngineNewWindowRequest& request) {
        if (request.isUserInitiated())
            NewWindow(request.requestedUrl());
    });
    new TQtBrowsingInput(view);
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&view, &QWidget::customContextMenuRequested, &view, [this](const QPoint& at) {
        ShowWebContextMenu(View(), at, [this](const QUrl& link) { NewWindow(link); });
    });
}

TQtWebBrowser::~TQtWebBrowser()
{
    // The page may still report the load it drops while it is destroyed.
    QObject::disconnect(m_loadingChanged);
}

void TQtWebBrowser::Navigate(const std::string& url)
{
    QWebEngineView& view = View();
    m_navigated = true;
    const QUrl address(ToQString(url));
    if (address.isValid() && Load(view, address))
        return;
    // Report the failure the way the engine reports its own, from the event loop.
    QMetaObject::invokeMethod(
        &view, [this, url] { LoadEnded(url, NetErrorInvalidUrl); }, Qt::QueuedConnection);
}

bool TQtWebBrowser::Load(QWebEngineView& view, const QUrl& address)
{
    QWebEnginePage& page = *view.page();
    const QUrl before = page.requestedUrl();
    const bool wasPending = m_navigationPending;
    // Marked before load(): the engine may report the start from within it.
    m_navigationPending = true;
    view.load(address);
    // A navigation the engine takes is its pending entry by now, and the requested URL names it. Without
    // one the requested URL is what it was, or that of the page shown; that is a dropped navigation unless
    // the page shown, or the one asked for before, is this very address.
    const QUrl requested = page.requestedUrl();
    const bool noNewEntry = requested == before || requested == page.history()->currentItem().originalUrl();
    if (noNewEntry && !SameAddress(requested, address)) {
        m_navigationPending = wasPending;
        return false;
    }
    return true;
}

int TQtWebBrowser::ReadyState()
{
    const QWebEngineView& view = View();
    if (!m_navigated)
        return ReadyStateUninitialized;
    if (m_navigationPending || view.page()->isLoading())
        return ReadyStateLoading;
    return ReadyStateComplete;
}

std::string TQtWebBrowser::LocationUrl() const
{
    return m_navigated ? View().url().toString().toStdString() : std::string();
}

QWebEngineView& TQtWebBrowser::View() const
{
    auto* view = static_cast<QWebEngineView*>(Widget());
    if (!view)
        throw EOstrelError("The web view no longer exists");
    return *view;
}

void TQtWebBrowser::LoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        m_navigationPending = false;
        return;
    }
    const bool aborted = info.status() == QWebEngineLoadingInfo::LoadFailedStatus
        && info.errorDomain() == QWebEngineLoadingInfo::InternalErrorDomain && info.errorCode() == NetErrorAborted;
    if (!aborted)
        m_navigationPending = false;
    const bool failed = info.status() == QWebEngineLoadingInfo::LoadFailedStatus && !aborted;
    LoadEnded(info.url().toString().toStdString(), failed ? info.errorCode() : NoError);
}

void TQtWebBrowser::LoadEnded(const std::string& url, int errorCode)
{
    if (errorCode != NoError && OnNavigateError) {
        bool cancel = false;
        m_dispatch([&] { OnNavigateError(url, std::string(), errorCode, cancel); });
    }
    if (OnDownloadComplete)
        m_dispatch([&] { OnDownloadComplete(); });
}

void TQtWebBrowser::NewWindow(const QUrl& url)
{
    if (OnNewWindow)
        m_dispatch([&] { OnNewWindow(url.toString().toStdString()); });
}

std::unique_ptr<TQtWebBrowser> CreateQtWebBrowser(const TControlDecl& decl, QWidget* parent, TDispatch dispatch)
{
    return std::make_unique<TQtWebBrowser>(decl, parent, std::move(dispatch));
}
