#include "capture/frame_pipeline.h"

namespace {
// Frames waiting beyond those being written: enough to smooth out uneven
// frames, few enough to bound memory at large sizes.
const size_t QueueLength = 4;
}  // namespace

FramePipeline::FramePipeline(int workers, Consumer consumer) : consume(std::move(consumer)) {
    for (int i = 0; i < workers; ++i) {
        threads.emplace_back([this] { Work(); });
    }
}

FramePipeline::~FramePipeline() {
    std::string ignored;
    Finish(&ignored);
}

std::vector<uint8_t> FramePipeline::TakeBuffer() {
    std::lock_guard<std::mutex> guard(lock);
    if (spare.empty()) {
        return {};
    }
    std::vector<uint8_t> buffer = std::move(spare.back());
    spare.pop_back();
    return buffer;
}

bool FramePipeline::Push(int64_t index, std::vector<uint8_t> rgba) {
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [this] { return queue.size() < QueueLength || failed; });
    if (failed) {
        return false;
    }
    queue.push_back(Frame{index, std::move(rgba)});
    changed.notify_all();
    return true;
}

void FramePipeline::Work() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [this] { return !queue.empty() || closed || failed; });
        if (failed || queue.empty()) {
            return;
        }
        Frame frame = std::move(queue.front());
        queue.pop_front();
        changed.notify_all();
        guard.unlock();
        std::string error;
        const bool written = consume(frame.index, frame.rgba, &error);
        guard.lock();
        spare.push_back(std::move(frame.rgba));
        if (!written && !failed) {
            failed = true;
            failure = error;
            changed.notify_all();
        }
    }
}

bool FramePipeline::Finish(std::string* error) {
    {
        std::lock_guard<std::mutex> guard(lock);
        closed = true;
    }
    changed.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
    threads.clear();
    if (failed) {
        *error = failure;
        return false;
    }
    return true;
}
