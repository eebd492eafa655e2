#include "platform/qt/QtCanvas.h"

#include "platform/qt/QtPicture.h"
#include "platform/qt/QtString.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <vector>

namespace {
QColor ToQColor(TColor color)
{
    return QColor::fromRgb(static_cast<QRgb>(color));
}

QRect ToQRect(const TRect& rect)
{
    return { rect.Left, rect.Top, rect.Width(), rect.Height() };
}

// Cuts line at a character boundary so that it and a trailing "..." fit in
// width. Qt's own elision ends with U+2026; the rows end with three dots.
// A binary search over the boundaries keeps very long texts cheap.
QString Elided(const QString& line, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    static const QString ellipsis = QStringLiteral("...");
    std::vector<qsizetype> boundaries { 0 };
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line);
    for (qsizetype end = graphemes.toNextBoundary(); end > 0; end = graphemes.toNextBoundary())
        boundaries.push_back(end);
    std::size_t fits = 0;
    std::size_t tooWide = boundaries.size();
    while (tooWide - fits > 1) {
        const std::size_t middle = fits + (tooWide - fits) / 2;
        if (metrics.horizontalAdvance(line.left(boundaries[middle]) + ellipsis) <= width)
            fits = middle;
        else
            tooWide = middle;
    }
    return line.left(boundaries[fits]) + ellipsis;
}
} // namespace

void TQtCanvas::Rectangle(const TRect& rect, TColor outline, TColor fill)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    const QRect area = ToQRect(rect);
    m_painter.fillRect(area, ToQColor(outline));
    m_painter.fillRect(area.adjusted(1, 1, -1, -1), ToQColor(fill));
}

void TQtCanvas::TextOut(const TRect& clip, const std::string& text, TColor color)
{
    const QRect area = ToQRect(clip);
    if (area.isEmpty() || text.empty())
        return;
    const QFontMetrics metrics(m_painter.font());
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = ToQString(text).split(lineBreak);

    m_painter.save();
    m_painter.setClipRect(area, Qt::IntersectClip);
    m_painter.setPen(ToQColor(color));
    int top = area.top();
    for (const QString& line : lines) {
        if (top >= area.bottom() + 1)
            break;
        const QRect lineArea(area.left(), top, area.width(), metrics.height());
        m_painter.drawText(lineArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                           Elided(line, metrics, area.width()));
        top += metrics.height();
    }
    m_painter.restore();
}

void TQtCanvas::Draw(int x, int y, const TPicture& picture)
{
    // Every picture handed to this backend's canvas was made by this backend.
    const auto& qtPicture = static_cast<const TQtPicture&>(picture);
    m_painter.drawImage(QPoint(x, y), qtPicture.Image());
}
