#pragma once

#include "platform/Form.h"
#include "platform/Types.h"

// Where a control stands in a client area of clientWidth by clientHeight, declared at bounds
// in one of declaredWidth by declaredHeight: each anchored side keeps its distance to the
// same side of the client area, and a control anchored on two opposite sides stretches.
// All sizes in the same pixels; currentWidth stands in for a declared width of 0 (a label
// that sized itself to its caption). Never a negative size.
TBounds AnchoredBounds(const TBounds& bounds, const TAnchors& anchors, int currentWidth, int declaredWidth,
                       int declaredHeight, int clientWidth, int clientHeight);
