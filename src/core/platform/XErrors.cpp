#include "core/platform/XErrors.h"

#if defined(__linux__) || defined(__unix__)
#include <algorithm>
#include <mutex>
#include <vector>

namespace {

std::mutex watchMutex;
std::vector<Display*> watched;
XErrorHandler previous = nullptr;
bool installed = false;

int onXError(Display* display, XErrorEvent* error) {
    {
        std::lock_guard<std::mutex> lock(watchMutex);
        if (std::find(watched.begin(), watched.end(), display) != watched.end()) return 0;
    }
    return previous ? previous(display, error) : 0;
}

}  // namespace

void watchXErrors(Display* display) {
    std::lock_guard<std::mutex> lock(watchMutex);
    watched.push_back(display);
    if (!installed) {
        previous = XSetErrorHandler(onXError);
        installed = true;
    }
}

void unwatchXErrors(Display* display) {
    std::lock_guard<std::mutex> lock(watchMutex);
    watched.erase(std::remove(watched.begin(), watched.end(), display), watched.end());
}

void sendXdndMessage(Display* display, Window to, Window about, Atom type, Window from, long l1, long l2, long l3,
                     long l4) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.display = display;
    ev.xclient.window = about;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(from);
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    ev.xclient.data.l[3] = l3;
    ev.xclient.data.l[4] = l4;
    XSendEvent(display, to, False, NoEventMask, &ev);
    XFlush(display);
}

#endif
