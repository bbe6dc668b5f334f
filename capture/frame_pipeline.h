// Frames handed from the drawing thread to workers that convert, encode and
// write them, so that drawing, encoding and writing overlap. The queue is
// short: memory does not grow with the length of the capture.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FramePipeline {
public:
    // Called on a worker thread with each frame; false with `error` set stops
    // everything. With one worker, frames arrive in order.
    using Consumer = std::function<bool(int64_t index, const std::vector<uint8_t>& rgba, std::string* error)>;

    FramePipeline(int workers, Consumer consume);
    ~FramePipeline();
    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    // A buffer to read the next frame into, reused from frames already written.
    std::vector<uint8_t> TakeBuffer();
    // Waits while the queue is full. False once a worker has failed.
    bool Push(int64_t index, std::vector<uint8_t> rgba);
    // Waits until every frame is written. False with `error` set if any failed.
    bool Finish(std::string* error);

private:
    struct Frame {
        int64_t index;
        std::vector<uint8_t> rgba;
    };
    void Work();

    Consumer consume;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Frame> queue;
    std::vector<std::vector<uint8_t>> spare;
    bool closed = false;
    bool failed = false;
    std::string failure;
    std::vector<std::thread> threads;
};
