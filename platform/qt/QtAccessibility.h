#pragma once

// What assistive technology finds at the top of the program: each form's window as what it
// is, the main form as a frame and a later form as a dialog, each named after its title (Qt
// takes a plain top-level widget for a filler without a name), and only the windows of
// widgets. Qt lists every top-level window, so the web view's offscreen window, which only
// renders the page, would stand there as a frame of its own. Called once, before the first
// form is made.
void InstallAccessibility();
