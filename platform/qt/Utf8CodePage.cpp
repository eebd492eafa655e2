#include "platform/qt/Utf8CodePage.h"

#include <QString>

std::string TUtf8CodePage::ToUtf8(std::string_view bytes) const
{
    // Qt turns each malformed sequence into U+FFFD, as reading in a code page never fails.
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}
