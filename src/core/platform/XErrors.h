#pragma once
#if defined(__linux__) || defined(__unix__)
#include <X11/Xlib.h>

// Xlib's default error handler ends the process, and a drag-and-drop peer
// may close its window at any moment. Errors on a watched connection are
// ignored; errors on any other connection (SFML's) go to the handler that
// was installed before.
void watchXErrors(Display* display);
void unwatchXErrors(Display* display);
#endif
