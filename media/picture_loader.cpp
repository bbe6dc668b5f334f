#include "media/picture_loader.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "media/picture_table.h"
#include "stop_signals.h"

namespace {

class PictureDecoding {
public:
    explicit PictureDecoding(int pictureHeight) : height(pictureHeight), results(PictureCount) {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < std::min<unsigned>(cores, PictureCount); ++i) {
            workers.emplace_back([this] { Work(); });
        }
    }

    ~PictureDecoding() {
        stopping = true;
        for (std::thread& worker : workers) {
            worker.join();
        }
    }

    // While picture i is not ready, the caller decodes pictures nobody has
    // started yet rather than wait idle.
    DecodedPicture Take(int i) {
        while (DecodeNext()) {
            std::lock_guard<std::mutex> guard(lock);
            if (results[i].done) {
                break;
            }
        }
        std::unique_lock<std::mutex> guard(lock);
        decoded.wait(guard, [&] { return results[i].done; });
        return std::move(results[i].picture);
    }

private:
    struct Slot {
        bool done = false;
        DecodedPicture picture;
    };

    // Decodes the next picture nobody has started, in load order so that the
    // first ones are ready first; false when every one is started.
    bool DecodeNext() {
        const int i = next++;
        if (i >= PictureCount) {
            return false;
        }
        // Once the program is told to stop, the rest is left: nothing to show, nothing to say.
        DecodedPicture picture = StopSignal() != 0
                                     ? DecodedPicture{}
                                     : DecodePicture(PictureTable[i].path, AreaOnScreen(PictureTable[i], height));
        std::lock_guard<std::mutex> guard(lock);
        results[i].picture = std::move(picture);
        results[i].done = true;
        decoded.notify_all();
        return true;
    }

    void Work() {
        while (!stopping && DecodeNext()) {
        }
    }

    const int height;
    std::atomic<int> next{0};
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::condition_variable decoded;
    std::vector<Slot> results;
    std::vector<std::thread> workers;
};

std::unique_ptr<PictureDecoding> Decoding;

}  // namespace

void StartPictureDecoding(int pictureHeight) {
    if (!Decoding) {
        Decoding = std::make_unique<PictureDecoding>(pictureHeight);
    }
}

DecodedPicture TakeDecodedPicture(int i) {
    return Decoding ? Decoding->Take(i) : DecodedPicture{};
}

void StopPictureDecoding() {
    Decoding.reset();
}
