#pragma once

// Injection into the toolkit's keyboard input of the focused control.
class TKeyboard
{
public:
    virtual ~TKeyboard() = default;
    // Left Control down, M down, M up, left Control up, on the keys the keyboard
    // layout in use maps to left Control and to "M", so pages see the M key with Control.
    // The injected keys never reach a form's key handler as typed input, and neither
    // does any other key the program or a control sends on (a web view handing back
    // keys its page left unhandled): one typed Enter gives exactly one sequence.
    virtual void InjectControlM() = 0;
};
