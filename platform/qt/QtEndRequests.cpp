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
    // Qt asks for the application's data whenever the session manager saves, also when the
    // session goes on afterwards; Qt's own rule is not to end the program there.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_notifier.get(),
                     [this](QSessionManager&) { SaveForSession(); });
}

// Out of line: QSocketNotifier is complete only here.
TQtEndRequests::~TQtEndRequests() = default;

void TQtEndRequests::SaveForSession()
{
    if (auto* mainForm = m_application.Forms().MainForm())
        mainForm->SaveForSession();
}

void TQtEndRequests::RequestEnd()
{
    if (auto* mainForm = m_application.Forms().MainForm())
        mainForm->Close();
    else
        m_application.Terminate();
}
