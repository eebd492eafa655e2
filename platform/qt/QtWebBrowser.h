#pragma once

#include "platform/common/Dispatch.h"
#include "platform/Form.h"
#include "platform/qt/QtWidgetControl.h"
#include "platform/WebBrowser.h"

#include <memory>
#include <QMetaObject>

class QUrl;
class QWebEngineLoadingInfo;
class QWebEngineView;
class QWidget;

// TWebBrowser over a QWebEngineView. How the engine's signals map onto the
// events and the ready state is written down in the .cpp.
class TQtWebBrowser : public TQtWidgetControl<TWebBrowser>
{
public:
    TQtWebBrowser(const TControlDecl& decl, QWidget* parent, TDispatch dispatch);
    ~TQtWebBrowser() override;

    void Navigate(const std::string& url) override;
    int ReadyState() override;
    std::string LocationUrl() const override;

    // Throws EOstrelError once the window has destroyed the view.
    QWebEngineView& View() const;

private:
    // Asks the engine to load address; false when it dropped the navigation.
    bool Load(QWebEngineView& view, const QUrl& address);
    void LoadingChanged(const QWebEngineLoadingInfo& info);
    // Raises the events of a main-frame load that ended; errorCode 0 is success.
    void LoadEnded(const std::string& url, int errorCode);
    void NewWindow(const QUrl& url);

    QMetaObject::Connection m_loadingChanged;
    TDispatch m_dispatch;
    bool m_navigated = false;
    bool m_navigationPending = false;
};

std::unique_ptr<TQtWebBrowser> CreateQtWebBrowser(const TControlDecl& decl, QWidget* parent, TDispatch dispatch);
