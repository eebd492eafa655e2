#include "platform/common/AnchorLayout.h"

#include <algorithm>

TBounds AnchoredBounds(const TBounds& bounds, const TAnchors& anchors, int currentWidth, int declaredWidth,
                       int declaredHeight, int clientWidth, int clientHeight)
{
    const int growX = clientWidth - declaredWidth;
    const int growY = clientHeight - declaredHeight;
    const int width = bounds.Width == 0 ? currentWidth : bounds.Width;
    TBounds placed;
    placed.Left = bounds.Left + (anchors.Left || !anchors.Right ? 0 : growX);
    placed.Top = bounds.Top + (anchors.Top || !anchors.Bottom ? 0 : growY);
    placed.Width = std::max(width + (anchors.Left && anchors.Right ? growX : 0), 0);
    placed.Height = std::max(bounds.Height + (anchors.Top && anchors.Bottom ? growY : 0), 0);
    return placed;
}
