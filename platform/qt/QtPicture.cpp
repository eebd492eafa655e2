#include "platform/qt/QtPicture.h"

TQtPicture::TQtPicture(const QImage& image)
    : m_image(image.convertToFormat(QImage::Format_ARGB32_Premultiplied))
{
    // The pictures keep their stated pixel sizes whatever the display's scale.
    m_image.setDevicePixelRatio(1.0);
}
