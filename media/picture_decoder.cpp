#include "media/picture_decoder.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <fstream>
#include <iterator>

#include "media/jpeg_picture.h"
#include "media/png_picture.h"

namespace {

// Files larger than this are not read: no picture needs it.
const std::streamoff MaxFileBytes = 256ll * 1024 * 1024;

bool IsPng(std::string_view bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}

bool IsJpeg(std::string_view bytes) {
    return bytes.size() >= 3 && std::memcmp(bytes.data(), "\xFF\xD8\xFF", 3) == 0;
}

// 1 (as stored) to 8, from EXIF data: a whole JPEG file, or a PNG's eXIf
// chunk (bare TIFF data, to which libexif wants its header put first).
int Orientation(std::string_view exif, bool bare) {
    std::string prefixed;
    if (bare) {
        prefixed.assign("Exif\0\0", 6);
        prefixed.append(exif);
    }
    const std::string_view data = bare ? std::string_view(prefixed) : exif;
    ExifData* parsed =
        exif_data_new_from_data(reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned>(data.size()));
    if (!parsed) {
        return 1;
    }
    int orientation = 1;
    if (ExifEntry* entry = exif_data_get_entry(parsed, EXIF_TAG_ORIENTATION)) {
        if (entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->size >= 2) {
            orientation = exif_get_short(entry->data, exif_data_get_byte_order(parsed));
        }
    }
    exif_data_unref(parsed);
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

void ReduceForScreen(Pixels& picture, ScreenArea area) {
    int width = 0;
    int height = 0;
    KeptSize(FullWidth(picture), FullHeight(picture), area, &width, &height);
    if (width != picture.width || height != picture.height) {
        Reduce(picture, width, height);
    }
}

DecodedPicture Result(Pixels& picture, std::string problem) {
    FlipRows(picture);
    DecodedPicture decoded;
    decoded.width = picture.width;
    decoded.height = picture.height;
    decoded.transparent = picture.transparent;
    decoded.pixels.swap(picture.data);
    decoded.problem = std::move(problem);
    return decoded;
}

DecodedPicture Nothing(std::string problem) {
    DecodedPicture decoded;
    decoded.problem = std::move(problem);
    return decoded;
}

// Up to `limit` bytes of the file at `path` (all of it when 0); false with
// `problem` set when there is nothing a picture could be read from.
bool ReadPictureFile(const std::string& path, std::streamoff limit, PixelBuffer* bytes, std::string* problem) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        *problem = "missing or unreadable";
        return false;
    }
    const std::streamoff size = file.tellg();
    if (size <= 0) {
        *problem = "empty file";
        return false;
    }
    if (size > MaxFileBytes) {
        *problem = "a file of " + std::to_string(size / (1024 * 1024)) + " MB is more than a picture may have";
        return false;
    }
    const std::streamoff wanted = limit > 0 ? std::min(limit, size) : size;
    bytes->resize(static_cast<size_t>(wanted));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes->data()), wanted)) {
        *problem = "could not be read";
        return false;
    }
    return true;
}

// Whether the header in `bytes` reads, as the decoder would read it.
bool HeaderReads(std::string_view bytes, std::string* problem) {
    if (IsJpeg(bytes)) {
        return CheckJpegHeader(bytes, problem);
    }
    if (IsPng(bytes)) {
        return CheckPngHeader(bytes, problem);
    }
    *problem = "not a PNG or JPEG picture";
    return false;
}

std::string_view View(const PixelBuffer& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

std::string CheckPictureFile(const std::string& path) {
    // The headers stand in the first bytes; only a JPEG with large segments
    // before its frame header needs more, and then the whole file tells.
    const std::streamoff HeadBytes = 256 * 1024;
    PixelBuffer bytes;
    std::string problem;
    if (!ReadPictureFile(path, HeadBytes, &bytes, &problem)) {
        return problem;
    }
    if (HeaderReads(View(bytes), &problem)) {
        return "";
    }
    if (bytes.size() == static_cast<size_t>(HeadBytes) && IsJpeg(View(bytes))) {
        problem.clear();
        if (!ReadPictureFile(path, 0, &bytes, &problem) || HeaderReads(View(bytes), &problem)) {
            return problem;
        }
    }
    return problem;
}

namespace {

// The column averagings Reduce would begin with, done as a PNG's rows
// arrive, for a picture upright as stored (orientation 1 to 4, or none).
ColumnHalvings HalvingsFor(ScreenArea area) {
    return [area](int width, int height, std::string_view exif) {
        if (!exif.empty() && Orientation(exif, true) >= 5) {
            return 0;
        }
        int keptWidth = 0;
        int keptHeight = 0;
        KeptSize(width, height, area, &keptWidth, &keptHeight);
        if (keptWidth == width && keptHeight == height) {
            return 0;
        }
        int times = 0;
        for (int w = width; w >= 2 * keptWidth; w /= 2) {
            ++times;
        }
        return times;
    };
}

// The file's pixels as stored, and how they are to be turned; false with
// `problem` set when there is nothing to show.
bool DecodeStored(std::string_view bytes, ScreenArea area, Pixels* picture, int* orientation, std::string* problem) {
    *orientation = 1;
    if (IsJpeg(bytes)) {
        // Turned pictures cover the area the other way round.
        *orientation = Orientation(bytes, false);
        const ScreenArea stored = *orientation >= 5 ? ScreenArea{area.height, area.width} : area;
        return DecodeJpeg(bytes, stored, picture, problem);
    }
    if (IsPng(bytes)) {
        std::string exif;
        if (!DecodePng(bytes, HalvingsFor(area), picture, &exif, problem)) {
            return false;
        }
        *orientation = exif.empty() ? 1 : Orientation(exif, true);
        return true;
    }
    *problem = "not a PNG or JPEG picture";
    return false;
}

DecodedPicture ForScreen(Pixels& picture, int orientation, ScreenArea area, std::string problem) {
    ApplyOrientation(picture, orientation);
    ReduceForScreen(picture, area);
    return Result(picture, std::move(problem));
}

}  // namespace

DecodedPicture DecodePicture(const std::string& path, ScreenArea area) {
    PixelBuffer bytes;
    std::string problem;
    if (!ReadPictureFile(path, 8, &bytes, &problem)) {
        return Nothing(problem);
    }
    Pixels picture;
    int orientation = 1;
    if (IsPng(View(bytes))) {
        // Read as it decodes: a large PNG is never held whole beside its pixels.
        std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"), std::fclose);
        std::string exif;
        if (!file) {
            return Nothing("missing or unreadable");
        }
        if (!DecodePngFile(file.get(), HalvingsFor(area), &picture, &exif, &problem)) {
            return Nothing(problem);
        }
        return ForScreen(picture, exif.empty() ? 1 : Orientation(exif, true), area, std::move(problem));
    }
    if (!ReadPictureFile(path, 0, &bytes, &problem)) {
        return Nothing(problem);
    }
    if (!DecodeStored(View(bytes), area, &picture, &orientation, &problem)) {
        return Nothing(problem);
    }
    // The file is let go before the pixels are reduced: a large photo never
    // holds both at their largest.
    PixelBuffer().swap(bytes);
    return ForScreen(picture, orientation, area, std::move(problem));
}

DecodedPicture DecodePictureData(std::string_view bytes, ScreenArea area) {
    Pixels picture;
    std::string problem;
    int orientation = 1;
    if (!DecodeStored(bytes, area, &picture, &orientation, &problem)) {
        return Nothing(problem);
    }
    return ForScreen(picture, orientation, area, std::move(problem));
}
