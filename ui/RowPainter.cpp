#include "ui/RowPainter.h"

#include "list/Info.h"
#include "platform/Canvas.h"

void TRowPainter::Draw(TCanvas& canvas, const TRect& rect, bool selected, const std::string& text,
                       const TInfo* status) const
{
    canvas.Rectangle(rect, selected ? SelectedOutline : Outline, selected ? SelectedFill : Fill);
    canvas.Draw(rect.Left + PictureLeft, rect.Top + PictureTop, m_icon);
    const TRect textArea { rect.Left + TextLeft, rect.Top + TextTop, rect.Right - TextRightMargin, rect.Bottom };
    canvas.TextOut(textArea, text, TextColor);
    if (status && status->Online)
        canvas.Draw(rect.Left + PictureLeft, rect.Top + PictureTop, m_badge);
}
