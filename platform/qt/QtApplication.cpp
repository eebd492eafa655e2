#include "platform/qt/QtApplication.h"

#include "platform/qt/QtAccessibility.h"
#include "platform/qt/QtEventApplication.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtString.h"

#include <algorithm>
#include <cfenv>
#include <chrono>
#include <QEventLoop>
#include <QMessageBox>
#include <thread>

TQtApplication::TQtApplication()
    : m_application(std::make_unique<TQtEventApplication>())
{
    // Closing windows never ends the program by itself: only the main form's close query does.
    m_application->setQuitOnLastWindowClosed(false);
    InstallAccessibility();
    m_application->OnEscapedException
        = [this](std::exception_ptr error) { Dispatch([&] { std::rethrow_exception(error); }); };
    // A posted event, so the hand-offs run from the main loop, from nested pumps and from modal
    // loops alike, and a pump that leaves calls over lets input and painting run before the next.
    SyncGate().SetWake([this] {
        QMetaObject::invokeMethod(
            m_application.get(), [this] { SyncGate().RunPending(); }, Qt::QueuedConnection);
    });
}

TQtApplication::~TQtApplication()
{
    SyncGate().SetWake({});
}

void TQtApplication::RunMainLoop()
{
    QEventLoop loop;
    m_mainLoop = &loop;
    loop.exec();
    m_mainLoop = nullptr;
}

void TQtApplication::FlushWindows()
{
    // Sends the hiding to the window system now: what follows may take a moment.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TQtApplication::ProcessMessages()
{
    // The hand-offs come as the posted event of the gate's wake, at most one at a time, so this
    // runs them once, within the gate's pump time.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TQtApplication::EndLoops()
{
    // A loop asked to exit in the middle of a nested pump ends once the handler running it returns.
    if (m_mainLoop)
        m_mainLoop->exit();
    // Like the system's quit message, the request ends the boxes open now, so a box cannot keep the program up.
    for (auto* box : std::vector(m_openBoxes))
        box->done(QMessageBox::Ok);
}

std::string TQtApplication::ProgramPath() const
{
    return QCoreApplication::applicationFilePath().toStdString();
}

std::uint32_t TQtApplication::GetTickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void TQtApplication::Sleep(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void TQtApplication::MaskDivisionByZero()
{
    // Masking an exception means it no longer traps; the other traps stay as they were.
    fedisableexcept(FE_DIVBYZERO);
}

void TQtApplication::ShowBox(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Critical, ToQString(caption), ToQString(text), QMessageBox::Ok, BoxOwner());
    m_openBoxes.push_back(&box);
    box.exec();
    std::erase(m_openBoxes, &box);
}

QWidget* TQtApplication::BoxOwner() const
{
    // The box belongs to the application: over the active window, else the main form's.
    if (auto* active = QApplication::activeWindow())
        return active;
    return dynamic_cast<TQtFormWindow*>(Forms().MainWindow());
}
