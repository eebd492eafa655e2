#include "platform/qt/Utf8CodePage.h"

#include <QString>
#include <QUtf8StringView>

std::string TUtf8CodePage::ToUtf8(std::string_view bytes) const
{
    if (QUtf8StringView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8())
        return std::string(bytes);
    // Qt turns each malformed sequence into U+FFFD, as reading in a code page never fails.
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}
