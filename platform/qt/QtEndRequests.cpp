#include "platform/qt/QtEndRequests.h"

#include "platform/Form.h"
#include "platform/qt/QtApplication.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

TQtEndRequests::TQtEndRequests(TQtApplication& application)
    : m_application(application)
    , m_notifier(std::make_unique<QSocketNotifier>(m_signals.Pipe(), QSocketNotifier::Read))
{
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        m_signals.Drain();
        RequestEnd();
    });
    // Qt asks for the application's data when the session ends; the data is the list.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_notifier.get(),
                     [this](QSessionManager&) { RequestEnd(); });
}

// Out of line: QSocketNotifier is complete only here.
TQtEndRequests::~TQtEndRequests() = default;

void TQtEndRequests::RequestEnd()
{
    if (auto* mainForm = m_application.Forms().MainForm())
        mainForm->Close();
    else
        m_application.Terminate();
}
