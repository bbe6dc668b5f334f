// Buffers for whole pictures. A fresh buffer of tens of megabytes costs a
// page fault for every 4 KB page on first touch (about 10 us each on a
// virtual machine); where the system offers transparent huge pages, large
// buffers ask for them, and the same buffer costs a few dozen faults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

template <typename T>
struct PixelAllocator {
    using value_type = T;

    PixelAllocator() = default;
    template <typename U>
    PixelAllocator(const PixelAllocator<U>&) {}

    T* allocate(size_t count) {
        const size_t bytes = count * sizeof(T);
#ifdef __linux__
        if (bytes >= LargeBytes) {
            const size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
            void* memory = std::aligned_alloc(HugePage, rounded);
            if (!memory) {
                throw std::bad_alloc();
            }
            madvise(memory, rounded, MADV_HUGEPAGE);
            return static_cast<T*>(memory);
        }
#endif
        void* memory = std::malloc(bytes > 0 ? bytes : 1);
        if (!memory) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(memory);
    }

    void deallocate(T* memory, size_t) { std::free(memory); }

    static constexpr size_t HugePage = 2 * 1024 * 1024;
    static constexpr size_t LargeBytes = 4 * 1024 * 1024;
};

template <typename T, typename U>
bool operator==(const PixelAllocator<T>&, const PixelAllocator<U>&) {
    return true;
}

using PixelBuffer = std::vector<uint8_t, PixelAllocator<uint8_t>>;
