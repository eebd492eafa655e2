#pragma once

#include "platform/Keyboard.h"

// Posts the Control+M sequence to the focused widget. Posted events are not
// spontaneous, which is how the forms' key preview tells them from typed keys.
class TQtKeyboard : public TKeyboard
{
public:
    void InjectControlM() override;
};
