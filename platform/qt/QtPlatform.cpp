#include "platform/qt/QtPlatform.h"

#include "platform/common/DeclaredForm.h"
#include "platform/OstrelError.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtPicture.h"

#include <QImage>
#include <QLoggingCategory>
#include <QOpenGLContext>

TQtPlatform::TQtPlatform(std::string dataBaseFolder)
    : m_endRequests(m_application)
    , m_windowSystemLoss(m_application)
    , m_fileSystem(std::move(dataBaseFolder))
{ }

std::unique_ptr<TForm> TQtPlatform::CreateForm(const TFormDecl& decl)
{
    auto* owner = dynamic_cast<TQtFormWindow*>(m_application.Forms().MainWindow());
    const TDispatch dispatch = m_application.Dispatcher();
    return std::make_unique<TDeclaredForm>(
        decl, m_application, m_application.Forms(), dispatch,
        [&](TFormEvents& events) { return std::make_unique<TQtFormWindow>(decl, events, dispatch, owner); });
}

std::unique_ptr<TPicture> TQtPlatform::LoadPicture(const std::string& name)
{
    const QImage image(QStringLiteral(":/pictures/") + QString::fromStdString(name));
    if (image.isNull())
        throw EOstrelError("Missing picture resource " + name);
    return std::make_unique<TQtPicture>(image);
}

namespace {

// The program keeps no log: Qt's and the web engine's reports stay off stderr. Critical and fatal
// messages still show, and QT_LOGGING_RULES can turn the rest back on when looking into a fault.
// Uncategorised warnings go on to the message handler, which hears the window system's end in
// one of them and keeps them off stderr itself (TQtWindowSystemLoss).
void SilenceQtLogging()
{
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\n*.warning=false\ndefault.warning=true"));
}

// The web view draws through OpenGL. A window drawn in software until the view first draws has to be
// made anew then, shortly after it was shown, and pointer input sent to it meanwhile is lost.
// Drawing every window through OpenGL from the start keeps the first one; where OpenGL cannot be had,
// the web engine draws in software and nothing needs it.
void ComposeWindowsThroughOpenGl()
{
    QOpenGLContext probe;
    if (probe.create())
        qputenv("QT_WIDGETS_RHI", "1");
}

} // namespace

std::unique_ptr<TPlatform> CreatePlatform()
{
    SilenceQtLogging();
    auto platform = std::make_unique<TQtPlatform>("/var/lib");
    // The probe needs the application; Qt reads the switch when it makes the first window.
    ComposeWindowsThroughOpenGl();
    return platform;
}
