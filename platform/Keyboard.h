#pragma once

// Injection into the toolkit's keyboard input of the focused control.
class TKeyboard
{
public:
    virtual ~TKeyboard() = default;
    // Left Control down, M down, M up, left Control up.
    virtual void InjectControlM() = 0;
};
