#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

// The dragging side of X11 drag-and-drop (XDnD), for dropping files onto a
// window by its id without a mouse: for tools/drop_file and for tests that
// drop onto the game window. It works step by step so that a test can run
// the game's frames in between.
class XdndSource {
public:
    enum class State {
        Idle,      // nothing started
        Offering,  // told the window about the files, waiting for its answer
        Dropping,  // dropped, handing over the list, waiting for the window to finish
        Done,      // the window took the files
        Refused,   // the window does not take drops, or not these
        Failed,    // no display, a time-out, or the window went away
    };

    explicit XdndSource(const char* displayName = nullptr);  // null: $DISPLAY
    ~XdndSource();
    XdndSource(const XdndSource&) = delete;
    XdndSource& operator=(const XdndSource&) = delete;

    // Starts dropping files (absolute paths) onto the window. Refused at once
    // when the window does not announce drag-and-drop.
    State start(unsigned long window, const std::vector<std::string>& paths);
    // Handles what arrived; never blocks. Gives up after `limit` in one state.
    State pump(std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
    State state() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Runs a whole drop: start, then pump with `between` (one game frame, or a
// short sleep) until it ends. Returns the final state.
template <class Between>
XdndSource::State dropFiles(XdndSource& source, unsigned long window, const std::vector<std::string>& paths,
                            Between between) {
    XdndSource::State s = source.start(window, paths);
    while (s == XdndSource::State::Offering || s == XdndSource::State::Dropping) {
        between();
        s = source.pump();
    }
    return s;
}
