#include "media/picture_loader.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "stop_signals.h"

namespace {

// Frames come first: a thread that decodes during the show yields to them.
void LowerThisThreadsPriority() {
#ifdef _WIN32
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#else
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
#endif
}

class PictureDecoding {
public:
    PictureDecoding(int pictureHeight, const PictureMoments& firstShown)
        : height(pictureHeight), moments(firstShown), slots(PictureCount), order(PictureCount) {
        // The order the show first needs them in; at the same moment, load order.
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return moments[a] < moments[b]; });
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const unsigned count = std::min<unsigned>(cores, PictureCount);
        allowedWorkers = static_cast<int>(count);
        for (unsigned i = 0; i < count; ++i) {
            workers.emplace_back([this, i] { Work(static_cast<int>(i)); });
        }
    }

    ~PictureDecoding() {
        {
            std::lock_guard<std::mutex> guard(lock);
            stopping = true;
            changed.notify_all();
        }
        for (std::thread& worker : workers) {
            worker.join();
        }
    }

    float Moment(int i) const { return moments[i]; }

    std::string Problem(int i) {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [&] { return slots[i].checked; });
        return slots[i].problem;
    }

    bool TryTake(int i, DecodedPicture* picture) {
        std::lock_guard<std::mutex> guard(lock);
        if (!slots[i].done) {
            return false;
        }
        *picture = std::move(slots[i].picture);
        return true;
    }

    // A picture nobody has started is decoded here rather than waited for.
    DecodedPicture Take(int i) {
        bool mine = false;
        {
            std::lock_guard<std::mutex> guard(lock);
            mine = !slots[i].claimed;
            slots[i].claimed = true;
        }
        if (mine) {
            Decode(i);
        }
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [&] { return slots[i].done; });
        return std::move(slots[i].picture);
    }

    void Background() {
        std::lock_guard<std::mutex> guard(lock);
        allowedWorkers = std::max(1, static_cast<int>(workers.size()) - 1);
        background = true;
        changed.notify_all();
    }

private:
    struct Slot {
        bool checked = false;
        std::string problem;  // from the header check
        bool claimed = false;
        bool done = false;
        DecodedPicture picture;
    };

    void Check(int i) {
        std::string problem = StopSignal() != 0 ? "" : CheckPictureFile(PictureTable[i].path);
        std::lock_guard<std::mutex> guard(lock);
        slots[i].checked = true;
        slots[i].problem = std::move(problem);
        changed.notify_all();
    }

    void Decode(int i) {
        // A file that failed its check, or a program told to stop, gets
        // nothing decoded: its problem has been told, or nothing is to be said.
        DecodedPicture picture;
        if (StopSignal() == 0 && Problem(i).empty()) {
            picture = DecodePicture(PictureTable[i].path, AreaOnScreen(PictureTable[i], height));
        }
        std::lock_guard<std::mutex> guard(lock);
        slots[i].picture = std::move(picture);
        slots[i].done = true;
        changed.notify_all();
    }

    static constexpr int NothingYet = -1;
    static constexpr int AllClaimed = -2;

    // Claims the first picture in the order of need that nobody has started.
    // Until the show begins only those it opens with are taken: the window
    // and the first of them get the cores.
    int Claim() {
        std::lock_guard<std::mutex> guard(lock);
        for (int i : order) {
            if (!slots[i].claimed) {
                if (!background && moments[i] > 0.0f) {
                    return NothingYet;
                }
                slots[i].claimed = true;
                return i;
            }
        }
        return AllClaimed;
    }

    void Work(int index) {
        // Every header first: what cannot be shown is known at start-up.
        for (int i = nextCheck++; i < PictureCount; i = nextCheck++) {
            Check(i);
        }
        bool lowered = false;
        while (!stopping && index < allowedWorkers) {
            const int i = Claim();
            if (i == AllClaimed) {
                return;
            }
            if (i == NothingYet) {
                std::unique_lock<std::mutex> guard(lock);
                changed.wait(guard, [this] { return background || stopping; });
                continue;
            }
            if (background && !lowered) {
                LowerThisThreadsPriority();
                lowered = true;
            }
            Decode(i);
        }
    }

    const int height;
    const PictureMoments moments;
    std::atomic<int> nextCheck{0};
    std::atomic<bool> stopping{false};
    std::atomic<bool> background{false};
    std::atomic<int> allowedWorkers{0};
    std::mutex lock;
    std::condition_variable changed;
    std::vector<Slot> slots;
    std::vector<int> order;
    std::vector<std::thread> workers;
};

std::unique_ptr<PictureDecoding> Decoding;

}  // namespace

void StartPictureDecoding(int pictureHeight, const PictureMoments& moments) {
    if (!Decoding) {
        Decoding = std::make_unique<PictureDecoding>(pictureHeight, moments);
    }
}

float PictureMoment(int i) {
    return Decoding ? Decoding->Moment(i) : 0.0f;
}

std::string PictureFileProblem(int i) {
    return Decoding ? Decoding->Problem(i) : "";
}

bool TryTakeDecodedPicture(int i, DecodedPicture* picture) {
    return Decoding && Decoding->TryTake(i, picture);
}

DecodedPicture TakeDecodedPicture(int i) {
    return Decoding ? Decoding->Take(i) : DecodedPicture{};
}

void DecodeInBackground() {
    if (Decoding) {
        Decoding->Background();
    }
}

void StopPictureDecoding() {
    Decoding.reset();
}
