#include "platform/qt/QtPlatform.h"

#include "platform/OstrelError.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtPicture.h"

#include <QImage>

TQtPlatform::TQtPlatform(std::string dataBaseFolder)
    : m_endRequests(m_application)
    , m_fileSystem(std::move(dataBaseFolder))
{ }

std::unique_ptr<TForm> TQtPlatform::CreateForm(const TFormDecl& decl)
{
    return std::make_unique<TQtForm>(decl, m_application);
}

std::unique_ptr<TPicture> TQtPlatform::LoadPicture(const std::string& name)
{
    const QImage image(QStringLiteral(":/pictures/") + QString::fromStdString(name));
    if (image.isNull())
        throw EOstrelError("Missing picture resource " + name);
    return std::make_unique<TQtPicture>(image);
}

std::unique_ptr<TPlatform> CreatePlatform()
{
    return std::make_unique<TQtPlatform>("/var/lib");
}
