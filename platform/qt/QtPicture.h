#pragma once

#include "platform/Canvas.h"

#include <QImage>

// A picture held as premultiplied ARGB, the format QPainter blends fastest.
class TQtPicture : public TPicture
{
public:
    explicit TQtPicture(const QImage& image);

    int Width() const override { return m_image.width(); }
    int Height() const override { return m_image.height(); }
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
};
