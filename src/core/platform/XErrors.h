#pragma once
#if defined(__linux__) || defined(__unix__)
#include <X11/Xlib.h>

// Xlib's default error handler ends the process, and a drag-and-drop peer
// may close its window at any moment. Errors on a watched connection are
// ignored; errors on any other connection (SFML's) go to the handler that
// was installed before.
void watchXErrors(Display* display);
void unwatchXErrors(Display* display);

// Sends a drag-and-drop client message about `window` (the message's
// first word, the sender's own window) to the window `to`, with four more
// words, and flushes it out.
void sendXdndMessage(Display* display, Window to, Window about, Atom type, Window from, long l1, long l2, long l3,
                     long l4);
#endif
