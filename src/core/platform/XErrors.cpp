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
#endif
