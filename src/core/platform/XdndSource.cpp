#include "core/platform/XdndSource.h"

#if defined(__linux__) || defined(__unix__)

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

#include "core/platform/UriList.h"
#include "core/platform/XErrors.h"

namespace {

constexpr long kVersion = 5;

}  // namespace

struct XdndSource::Impl {
    Display* display = nullptr;
    Window self = 0;     // owns the drag's selection
    Window target = 0;   // the window dropped onto
    Window sendTo = 0;   // the target, or the proxy it names
    long version = 0;
    Atom aware = 0, proxyAtom = 0, enter = 0, position = 0, status = 0, leave = 0, drop = 0, finished = 0,
         selection = 0, actionCopy = 0, uriList = 0, targets = 0;
    std::string list;
    State state = State::Idle;
    std::chrono::steady_clock::time_point since;

    explicit Impl(const char* displayName) {
        display = XOpenDisplay(displayName);
        if (!display) return;
        watchXErrors(display);
        const char* names[] = {"XdndAware", "XdndProxy",     "XdndEnter",      "XdndPosition",  "XdndStatus",
                               "XdndLeave", "XdndDrop",      "XdndFinished",   "XdndSelection", "XdndActionCopy",
                               "text/uri-list", "TARGETS"};
        Atom atoms[12];
        XInternAtoms(display, const_cast<char**>(names), 12, False, atoms);
        Atom* fields[] = {&aware, &proxyAtom, &enter,      &position, &status,  &leave,
                          &drop,  &finished,  &selection,  &actionCopy, &uriList, &targets};
        for (int i = 0; i < 12; ++i) *fields[i] = atoms[i];
        self = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
    }

    ~Impl() {
        if (!display) return;
        XDestroyWindow(display, self);
        XSync(display, False);
        unwatchXErrors(display);
        XCloseDisplay(display);
    }

    // A 32-bit property of one item, or 0.
    unsigned long property(Window w, Atom name, Atom type) {
        Atom gotType = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        unsigned long value = 0;
        if (XGetWindowProperty(display, w, name, 0, 1, False, type, &gotType, &format, &count, &after, &data) ==
                Success &&
            data && gotType == type && format == 32 && count == 1)
            value = *reinterpret_cast<const unsigned long*>(data);
        if (data) XFree(data);
        return value;
    }

    void send(Atom type, long l1, long l2, long l3, long l4) {
        sendXdndMessage(display, sendTo, target, type, self, l1, l2, l3, l4);
    }

    void enterState(State s) {
        state = s;
        since = std::chrono::steady_clock::now();
    }

    State start(Window window, const std::vector<std::string>& paths) {
        if (!display) return state = State::Failed;
        target = window;
        sendTo = window;
        // A window may name a proxy that takes the messages for it; the
        // proxy names itself too, so a stale name is noticed.
        const Window proxy = property(window, proxyAtom, XA_WINDOW);
        if (proxy && property(proxy, proxyAtom, XA_WINDOW) == proxy) sendTo = proxy;
        const long announced = long(property(window, aware, XA_ATOM));
        if (announced < 3) return state = State::Refused;
        version = std::min(announced, kVersion);
        list = uriListFromPaths(paths);

        XSetSelectionOwner(display, selection, self, CurrentTime);
        send(enter, version << 24, long(uriList), 0, 0);
        // The pointer over the middle of the window, in screen coordinates.
        XWindowAttributes attributes{};
        int x = 0, y = 0;
        Window child = 0;
        if (XGetWindowAttributes(display, window, &attributes))
            XTranslateCoordinates(display, window, attributes.root, attributes.width / 2, attributes.height / 2, &x,
                                  &y, &child);
        send(position, 0, (long(x) << 16) | (y & 0xffff), CurrentTime, long(actionCopy));
        enterState(State::Offering);
        return state;
    }

    void answerRequest(const XSelectionRequestEvent& r) {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.display = display;
        reply.xselection.requestor = r.requestor;
        reply.xselection.selection = r.selection;
        reply.xselection.target = r.target;
        reply.xselection.time = r.time;
        reply.xselection.property = None;
        const Atom into = r.property != None ? r.property : r.target;
        if (r.selection == selection && r.target == uriList) {
            XChangeProperty(display, r.requestor, into, uriList, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(list.data()), int(list.size()));
            reply.xselection.property = into;
        } else if (r.selection == selection && r.target == targets) {
            const unsigned long offered[] = {targets, uriList};
            XChangeProperty(display, r.requestor, into, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offered), 2);
            reply.xselection.property = into;
        }
        XSendEvent(display, r.requestor, False, NoEventMask, &reply);
        XFlush(display);
    }

    void onClientMessage(const XClientMessageEvent& m) {
        if (m.format != 32 || Window(m.data.l[0]) != target) return;
        if (m.message_type == status && state == State::Offering) {
            if (m.data.l[1] & 1) {
                send(drop, 0, CurrentTime, 0, 0);
                enterState(State::Dropping);
            } else {
                send(leave, 0, 0, 0, 0);
                enterState(State::Refused);
            }
        } else if (m.message_type == finished && state == State::Dropping) {
            // Before version 5 the window does not say whether it took them.
            const bool took = version < 5 || (m.data.l[1] & 1);
            enterState(took ? State::Done : State::Refused);
        }
    }

    State pump(std::chrono::milliseconds limit) {
        if (!display || (state != State::Offering && state != State::Dropping)) return state;
        while (XPending(display) > 0) {
            XEvent ev;
            XNextEvent(display, &ev);
            if (ev.type == ClientMessage)
                onClientMessage(ev.xclient);
            else if (ev.type == SelectionRequest)
                answerRequest(ev.xselectionrequest);
        }
        if ((state == State::Offering || state == State::Dropping) && std::chrono::steady_clock::now() - since > limit) {
            if (state == State::Offering) send(leave, 0, 0, 0, 0);
            enterState(State::Failed);
        }
        return state;
    }
};

XdndSource::XdndSource(const char* displayName) : impl_(std::make_unique<Impl>(displayName)) {}
XdndSource::~XdndSource() = default;
XdndSource::State XdndSource::start(unsigned long window, const std::vector<std::string>& paths) {
    return impl_->start(Window(window), paths);
}
XdndSource::State XdndSource::pump(std::chrono::milliseconds limit) { return impl_->pump(limit); }
XdndSource::State XdndSource::state() const { return impl_->state; }

#else

struct XdndSource::Impl {};
XdndSource::XdndSource(const char*) {}
XdndSource::~XdndSource() = default;
XdndSource::State XdndSource::start(unsigned long, const std::vector<std::string>&) { return State::Failed; }
XdndSource::State XdndSource::pump(std::chrono::milliseconds) { return State::Failed; }
XdndSource::State XdndSource::state() const { return State::Failed; }

#endif
