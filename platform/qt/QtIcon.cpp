#include "platform/qt/QtIcon.h"

#include "platform/OstrelError.h"

#include <QFile>

namespace {

constexpr int IconSizes[] = { 16, 24, 32, 48, 64, 72, 96, 128, 256 };

} // namespace

QIcon LoadIcon(const std::string& name)
{
    QIcon icon;
    for (const int size : IconSizes) {
        const auto path = QStringLiteral(":/icons/%1-%2.png").arg(QString::fromStdString(name)).arg(size);
        if (!QFile::exists(path))
            throw EOstrelError("Missing icon resource " + path.toStdString());
        icon.addFile(path, QSize(size, size));
    }
    return icon;
}
