#include "core/platform/DropTarget.h"

#if defined(__linux__) || defined(__unix__)

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

#include "core/platform/Platform.h"
#include "core/platform/UriList.h"
#include "core/platform/XErrors.h"

namespace {

constexpr long kVersion = 5;                          // the newest protocol version, spoken here
constexpr std::chrono::seconds kDataWait{5};          // how long a drop may take to deliver its list

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace

struct DropTarget::Impl {
    Display* display = nullptr;
    Window proxy = 0;
    Window target = 0;  // the game window
    Atom aware = 0, proxyAtom = 0, enter = 0, position = 0, status = 0, leave = 0, drop = 0, finished = 0,
         selection = 0, typeList = 0, actionCopy = 0, uriList = 0, incr = 0, property = 0;

    // The drag now over the window.
    Window source = 0;
    long version = 0;
    bool offersUriList = false;
    bool waitingForData = false;
    std::chrono::steady_clock::time_point dropTime;
    std::string localHost = hostName();

    Impl() {
        display = XOpenDisplay(nullptr);
        if (!display) return;
        watchXErrors(display);
        const char* names[] = {"XdndAware", "XdndProxy",     "XdndEnter",    "XdndPosition",   "XdndStatus",
                               "XdndLeave", "XdndDrop",      "XdndFinished", "XdndSelection",  "XdndTypeList",
                               "XdndActionCopy", "text/uri-list", "INCR",    "MIVOLAND_DROP"};
        Atom atoms[14];
        XInternAtoms(display, const_cast<char**>(names), 14, False, atoms);
        Atom* fields[] = {&aware, &proxyAtom, &enter, &position, &status, &leave, &drop,
                          &finished, &selection, &typeList, &actionCopy, &uriList, &incr, &property};
        for (int i = 0; i < 14; ++i) *fields[i] = atoms[i];
        proxy = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
        setWindowProperty(proxy, proxyAtom, proxy);
        setAware(proxy);
        XFlush(display);
    }

    ~Impl() {
        if (!display) return;
        if (target) {
            // The game window may outlive this connection (tests make
            // several games); the errors of a window already gone are
            // swallowed.
            XDeleteProperty(display, target, proxyAtom);
            XDeleteProperty(display, target, aware);
        }
        XDestroyWindow(display, proxy);
        XSync(display, False);
        unwatchXErrors(display);
        XCloseDisplay(display);
    }

    void setWindowProperty(Window w, Atom name, Window value) {
        const unsigned long v = value;
        XChangeProperty(display, w, name, XA_WINDOW, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&v), 1);
    }

    void setAware(Window w) {
        const unsigned long v = kVersion;
        XChangeProperty(display, w, aware, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&v), 1);
    }

    void attach(Window window) {
        if (!display || !window) return;
        reset();
        target = window;
        setAware(target);
        setWindowProperty(target, proxyAtom, proxy);
        XFlush(display);
    }

    void reset() {
        source = 0;
        version = 0;
        offersUriList = false;
        waitingForData = false;
    }

    void send(Window to, Atom type, long l1, long l2, long l3, long l4) {
        sendXdndMessage(display, to, to, type, target, l1, l2, l3, l4);
    }

    void finish(bool accepted) {
        if (source) send(source, finished, accepted ? 1 : 0, accepted ? long(actionCopy) : 0, 0, 0);
        reset();
    }

    // The types a source offers: three in the message, or more in its
    // XdndTypeList property.
    bool sourceOffersUriList(const XClientMessageEvent& m) {
        if (!(m.data.l[1] & 1)) {
            for (int i = 2; i < 5; ++i)
                if (Atom(m.data.l[i]) == uriList) return true;
            return false;
        }
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        bool found = false;
        if (XGetWindowProperty(display, Window(m.data.l[0]), typeList, 0, 64, False, XA_ATOM, &type, &format, &count,
                               &after, &data) == Success &&
            data && type == XA_ATOM && format == 32) {
            const unsigned long* atoms = reinterpret_cast<const unsigned long*>(data);
            for (unsigned long i = 0; i < count; ++i)
                if (atoms[i] == uriList) found = true;
        }
        if (data) XFree(data);
        return found;
    }

    void onClientMessage(const XClientMessageEvent& m) {
        if (m.format != 32 || !target) return;
        const Window from = Window(m.data.l[0]);
        if (m.message_type == enter) {
            reset();
            source = from;
            version = (m.data.l[1] >> 24) & 0xff;
            offersUriList = sourceOffersUriList(m);
        } else if (m.message_type == position) {
            if (from != source || waitingForData) return;
            send(source, status, offersUriList ? 1 : 0, 0, 0, offersUriList ? long(actionCopy) : 0);
        } else if (m.message_type == leave) {
            if (from == source && !waitingForData) reset();
        } else if (m.message_type == drop) {
            if (from != source || waitingForData) return;
            if (!offersUriList) return finish(false);
            const Time time = version >= 1 ? Time(m.data.l[2]) : CurrentTime;
            XConvertSelection(display, selection, uriList, property, proxy, time);
            XFlush(display);
            waitingForData = true;
            dropTime = std::chrono::steady_clock::now();
        }
    }

    void onSelectionNotify(const XSelectionEvent& s) {
        if (!waitingForData || s.requestor != proxy || s.selection != selection) return;
        if (s.property == None) return finish(false);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const int got = XGetWindowProperty(display, proxy, property, 0, long(kMaxListBytes / 4), True,
                                           AnyPropertyType, &type, &format, &count, &after, &data);
        bool accepted = false;
        // A list sent in pieces (INCR) or longer than the cap is refused whole.
        if (got == Success && data && format == 8 && type != incr && after == 0) {
            const std::string_view list(reinterpret_cast<const char*>(data), count);
            for (std::string& path : filePathsFromUriList(list, localHost, kMaxPaths)) {
                pushDroppedFile(std::move(path));
                accepted = true;
            }
        }
        if (data) XFree(data);
        XDeleteProperty(display, proxy, property);
        finish(accepted);
    }

    void pump() {
        if (!display) return;
        while (XPending(display) > 0) {
            XEvent ev;
            XNextEvent(display, &ev);
            if (ev.type == ClientMessage)
                onClientMessage(ev.xclient);
            else if (ev.type == SelectionNotify)
                onSelectionNotify(ev.xselection);
        }
        if (waitingForData && std::chrono::steady_clock::now() - dropTime > kDataWait) finish(false);
    }
};

DropTarget::DropTarget() : impl_(std::make_unique<Impl>()) {}
DropTarget::~DropTarget() = default;
void DropTarget::attach(sf::WindowHandle window) { impl_->attach(Window(window)); }
void DropTarget::pump() { impl_->pump(); }
bool DropTarget::active() const { return impl_->display && impl_->target; }

#elif defined(_WIN32)

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "core/platform/Platform.h"

// Windows hands dropped files to the window procedure as WM_DROPFILES once
// the window accepts files. The game's window procedure is SFML's, so ours
// goes in front of it: it takes WM_DROPFILES and passes everything else on.
// The procedure it replaced is kept as a property of the window, so it works
// whatever happens to this object.
namespace {

const wchar_t* const kPreviousProc = L"MivolandDropPreviousProc";

std::string utf8FromWide(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

LRESULT CALLBACK dropWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProc));
    if (message == WM_DROPFILES) {
        const HDROP drop = reinterpret_cast<HDROP>(wParam);
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        std::size_t listBytes = 0;
        for (UINT i = 0; i < count && i < DropTarget::kMaxPaths; ++i) {
            const UINT length = DragQueryFileW(drop, i, nullptr, 0);
            if (length == 0 || length > 32767) continue;
            std::wstring path(std::size_t(length) + 1, L'\0');
            if (DragQueryFileW(drop, i, path.data(), length + 1) != length) continue;
            path.resize(length);
            std::string utf8 = utf8FromWide(path);
            listBytes += utf8.size();
            if (listBytes > DropTarget::kMaxListBytes) break;
            if (!utf8.empty()) pushDroppedFile(std::move(utf8));
        }
        DragFinish(drop);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        // The window goes: its own procedure back, and our property gone.
        RemovePropW(window, kPreviousProc);
        if (previous) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return previous ? CallWindowProcW(previous, window, message, wParam, lParam)
                    : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

struct DropTarget::Impl {
    HWND window = nullptr;

    void attach(HWND w) {
        if (!w || !IsWindow(w)) return;
        window = w;
        if (!GetPropW(w, kPreviousProc)) {
            const LONG_PTR previous = GetWindowLongPtrW(w, GWLP_WNDPROC);
            if (!previous || previous == reinterpret_cast<LONG_PTR>(&dropWindowProc)) return;
            SetPropW(w, kPreviousProc, reinterpret_cast<HANDLE>(previous));
            SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&dropWindowProc));
        }
        DragAcceptFiles(w, TRUE);
    }
};

DropTarget::DropTarget() : impl_(std::make_unique<Impl>()) {}
DropTarget::~DropTarget() = default;
void DropTarget::attach(sf::WindowHandle window) { impl_->attach(window); }
void DropTarget::pump() {}  // drops arrive through the window procedure
bool DropTarget::active() const { return impl_->window && IsWindow(impl_->window); }

#else

struct DropTarget::Impl {};
DropTarget::DropTarget() = default;
DropTarget::~DropTarget() = default;
void DropTarget::attach(sf::WindowHandle) {}
void DropTarget::pump() {}
bool DropTarget::active() const { return false; }

#endif
