#pragma once

#include "platform/Keyboard.h"

class QKeyEvent;

// Posts the Control+M sequence to the focused widget, as key events that the
// forms' key preview can tell from typed ones.
class TQtKeyboard : public TKeyboard
{
public:
    void InjectControlM() override;
};

// True for a key event that InjectControlM made.
bool IsInjectedKey(const QKeyEvent& event);
