#include "audio/SongPrerenderer.h"

#include "audio/Synth.h"
#include "core/platform/ThreadPriority.h"

SongPrerenderer::SongPrerenderer(std::vector<Job> jobs) {
    slots_.reserve(jobs.size());
    for (Job& job : jobs) slots_.push_back(Slot{std::move(job), State::Pending, {}});
    try {
        worker_ = std::thread([this] { work(); });
    } catch (...) {
        // No thread to be had: every song is rendered when first asked for.
        std::lock_guard<std::mutex> lock(mutex_);
        idle_ = true;
    }
}

SongPrerenderer::~SongPrerenderer() {
    stop_.store(true);
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

SongPrerenderer::Slot* SongPrerenderer::find(const std::string& id) {
    for (Slot& slot : slots_)
        if (slot.job.id == id) return &slot;
    return nullptr;
}

const SongPrerenderer::Slot* SongPrerenderer::find(const std::string& id) const {
    for (const Slot& slot : slots_)
        if (slot.job.id == id) return &slot;
    return nullptr;
}

void SongPrerenderer::work() {
    bool lowered = false;
    std::unique_lock<std::mutex> lock(mutex_);
    for (Slot& slot : slots_) {
        if (stop_.load()) break;
        if (slot.state != State::Pending || !slot.job.factory) continue;
        slot.state = State::Rendering;
        SongFactory factory = slot.job.factory;
        lock.unlock();
        std::vector<std::int16_t> samples;
        bool done = false;
        try {
            samples = renderSongUnlessStopped(factory(), stop_);
            done = !stop_.load();
        } catch (...) {
            done = false;
        }
        lock.lock();
        if (done) {
            slot.samples = std::move(samples);
            slot.state = State::Ready;
        } else {
            slot.state = State::Pending;  // left for the game thread to render if it asks
        }
        changed_.notify_all();
        // The first song is the one wanted now (the title at start-up); the
        // rest only use what the game's frames leave over.
        if (!lowered) {
            lock.unlock();
            lowerThisThreadPriority();
            lowered = true;
            lock.lock();
        }
    }
    idle_ = true;
    changed_.notify_all();
}

std::optional<std::vector<std::int16_t>> SongPrerenderer::take(const std::string& id) {
    std::unique_lock<std::mutex> lock(mutex_);
    Slot* slot = find(id);
    if (!slot) return std::nullopt;
    changed_.wait(lock, [&] { return slot->state != State::Rendering; });
    if (slot->state == State::Ready) {
        slot->state = State::Taken;
        return std::move(slot->samples);
    }
    // Not reached yet (or already handed out): render it here, and make sure
    // the worker does not do the same work again.
    slot->state = State::Taken;
    SongFactory factory = slot->job.factory;
    lock.unlock();
    if (!factory) return std::vector<std::int16_t>{};
    return renderSong(factory());
}

bool SongPrerenderer::isReady(const std::string& id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Slot* slot = find(id);
    return slot && slot->state == State::Ready;
}

bool SongPrerenderer::isComing(const std::string& id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Slot* slot = find(id);
    if (!slot) return false;
    return slot->state == State::Rendering || (slot->state == State::Pending && !idle_ && slot->job.factory);
}

void SongPrerenderer::waitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return idle_; });
}
