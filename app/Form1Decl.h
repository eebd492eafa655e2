#pragma once

#include "platform/Form.h"

// The main window as the form designer stores it: controls, places, anchors, tab order.
TFormDecl Form1Decl();
