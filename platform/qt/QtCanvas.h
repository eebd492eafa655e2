#pragma once

#include "platform/Canvas.h"

class QPainter;

// TCanvas over a painter that is already set up with the control's font.
class TQtCanvas : public TCanvas
{
public:
    explicit TQtCanvas(QPainter& painter)
        : m_painter(painter)
    { }

    void Rectangle(const TRect& rect, TColor outline, TColor fill) override;
    void TextOut(const TRect& clip, const std::string& text, TColor color) override;
    void Draw(int x, int y, const TPicture& picture) override;

private:
    QPainter& m_painter;
};
