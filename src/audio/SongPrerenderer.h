#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/Notation.h"

// Renders songs ahead of need on one background thread, in the order given,
// so that starting a song never stalls a frame. Only samples are made there;
// the caller turns them into sound buffers on its own thread. After the
// first song the thread runs at a lower priority than the game's.
class SongPrerenderer {
public:
    struct Job {
        std::string id;
        SongFactory factory;
    };

    explicit SongPrerenderer(std::vector<Job> jobs);
    // Stops the worker (a render in progress is given up) and waits for it.
    ~SongPrerenderer();
    SongPrerenderer(const SongPrerenderer&) = delete;
    SongPrerenderer& operator=(const SongPrerenderer&) = delete;

    // The samples of `id`, handed over once: waits when the worker is
    // rendering that song right now, renders it on the calling thread when the
    // worker has not reached it yet (or it was taken before). Nothing for an
    // id that was never given.
    std::optional<std::vector<std::int16_t>> take(const std::string& id);

    // True once the worker has finished `id` and it has not been taken.
    bool isReady(const std::string& id) const;

    // True while the worker has `id` still to render (or is rendering it):
    // asking for it now would wait or render it on the calling thread.
    bool isComing(const std::string& id) const;

    // Blocks until the worker has nothing left to do (for tools and tests).
    void waitUntilIdle();

private:
    enum class State { Pending, Rendering, Ready, Taken };
    struct Slot {
        Job job;
        State state = State::Pending;
        std::vector<std::int16_t> samples;
    };

    void work();
    Slot* find(const std::string& id);
    const Slot* find(const std::string& id) const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Slot> slots_;
    std::atomic<bool> stop_{false};
    bool idle_ = false;
    std::thread worker_;
};
