#include "media/picture_check.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

// Beyond this many pixels a picture is refused whatever the driver takes:
// 64 megapixels are 256 MB once decoded.
const int64_t MaxPixels = 64ll * 1024 * 1024;
const size_t HeadBytes = 64 * 1024;

uint32_t BigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

uint16_t BigEndian16(const unsigned char* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

bool IsPng(const std::vector<unsigned char>& head) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return head.size() >= 8 && std::memcmp(head.data(), signature, 8) == 0;
}

bool IsJpeg(const std::vector<unsigned char>& head) {
    return head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

bool PngSize(const std::vector<unsigned char>& head, int64_t* width, int64_t* height) {
    if (head.size() < 24 || std::memcmp(head.data() + 12, "IHDR", 4) != 0) {
        return false;
    }
    *width = BigEndian32(head.data() + 16);
    *height = BigEndian32(head.data() + 20);
    return true;
}

bool IsStartOfFrame(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the JPEG markers up to the frame header.
bool JpegSize(const std::vector<unsigned char>& head, int64_t* width, int64_t* height) {
    size_t at = 2;
    while (at + 4 <= head.size()) {
        if (head[at] != 0xFF) {
            return false;
        }
        const unsigned char marker = head[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const size_t length = BigEndian16(head.data() + at + 2);
        if (IsStartOfFrame(marker)) {
            if (at + 9 > head.size()) {
                return false;
            }
            *height = BigEndian16(head.data() + at + 5);
            *width = BigEndian16(head.data() + at + 7);
            return true;
        }
        if (length < 2) {
            return false;
        }
        at += 2 + length;
    }
    return false;
}

bool EndsLikePng(const std::vector<unsigned char>& tail) {
    static const unsigned char iend[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    return tail.size() >= 12 && std::memcmp(tail.data() + tail.size() - 12, iend, 12) == 0;
}

bool EndsLikeJpeg(const std::vector<unsigned char>& tail) {
    // Some writers leave padding after the end-of-image marker.
    for (size_t i = tail.size(); i >= 2; --i) {
        if (tail[i - 2] == 0xFF && tail[i - 1] == 0xD9) {
            return true;
        }
    }
    return false;
}

PictureCheck Problem(PictureCheck::Verdict verdict, std::string text) {
    PictureCheck check;
    check.verdict = verdict;
    check.problem = std::move(text);
    return check;
}

}  // namespace

PictureCheck CheckPicture(const std::string& path, int maxSide) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        return Problem(PictureCheck::Unreadable, "missing or unreadable");
    }
    const std::streamoff size = file.tellg();
    if (size <= 0) {
        return Problem(PictureCheck::Unreadable, "empty file");
    }
    std::vector<unsigned char> head(static_cast<size_t>(std::min<std::streamoff>(size, HeadBytes)));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    std::vector<unsigned char> tail(static_cast<size_t>(std::min<std::streamoff>(size, 1024)));
    file.seekg(size - static_cast<std::streamoff>(tail.size()));
    file.read(reinterpret_cast<char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    if (!file) {
        return Problem(PictureCheck::Unreadable, "could not be read");
    }

    int64_t width = 0;
    int64_t height = 0;
    bool complete = false;
    PictureCheck::Format format = PictureCheck::Unknown;
    if (IsPng(head)) {
        format = PictureCheck::Png;
        if (!PngSize(head, &width, &height)) {
            return Problem(PictureCheck::Unreadable, "damaged PNG header");
        }
        complete = EndsLikePng(tail);
    } else if (IsJpeg(head)) {
        format = PictureCheck::Jpeg;
        if (!JpegSize(head, &width, &height)) {
            PictureCheck check = Problem(PictureCheck::Truncated, "truncated or damaged JPEG: no frame header");
            check.format = format;
            return check;
        }
        complete = EndsLikeJpeg(tail);
    } else {
        return Problem(PictureCheck::Unreadable, "not a PNG or JPEG picture");
    }

    if (width <= 0 || height <= 0) {
        return Problem(PictureCheck::Unreadable, "claims a size of 0 pixels");
    }
    if (width > maxSide || height > maxSide || width * height > MaxPixels) {
        return Problem(PictureCheck::TooLarge, std::to_string(width) + " x " + std::to_string(height) +
                                                   " pixels is more than a texture can hold (at most " +
                                                   std::to_string(maxSide) + " on a side)");
    }
    PictureCheck check;
    check.format = format;
    check.width = static_cast<int>(width);
    check.height = static_cast<int>(height);
    if (!complete) {
        check.verdict = PictureCheck::Truncated;
        check.problem = "truncated: the file ends before the picture does";
    }
    return check;
}
