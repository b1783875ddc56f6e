#pragma once
#include <SFML/Window/WindowHandle.hpp>
#include <cstddef>
#include <memory>

// Makes the game window a target for files dropped from the desktop: the
// paths of dropped files are appended to the dropped-file list
// (pushDroppedFile in core/platform/Platform.h), whatever screen is shown.
//
// On Linux it speaks the X11 drag-and-drop protocol (XDnD) for
// "text/uri-list" on a display connection of its own: the game window
// names a small unmapped proxy window of that connection as its drop
// handler, so SFML's event loop never sees the protocol. On Windows the
// window accepts files and a window procedure put in front of SFML's takes
// WM_DROPFILES. Elsewhere it does nothing.
class DropTarget {
public:
    // Caps on what one drop may hand over.
    static constexpr std::size_t kMaxListBytes = 1 << 20;
    static constexpr std::size_t kMaxPaths = 256;

    DropTarget();  // opens the display connection (cheap); inactive without one
    ~DropTarget();
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    // Takes drops for this window; call again whenever the window is made anew.
    void attach(sf::WindowHandle window);
    // Handles whatever arrived since the last call; never blocks.
    void pump();
    bool active() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
