#include "media/picture_decoder.h"

#include <libexif/exif-data.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "media/jpeg_picture.h"
#include "media/png_picture.h"

namespace {

// Files larger than this are not read: no picture needs it.
const std::streamoff MaxFileBytes = 256ll * 1024 * 1024;

bool IsPng(const std::string& bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}

bool IsJpeg(const std::string& bytes) {
    return bytes.size() >= 3 && std::memcmp(bytes.data(), "\xFF\xD8\xFF", 3) == 0;
}

// 1 (as stored) to 8, from EXIF data: a whole JPEG file, or a PNG's eXIf
// chunk (bare TIFF data, to which libexif wants its header put first).
int Orientation(const std::string& exif, bool bare) {
    const std::string data = bare ? std::string("Exif\0\0", 6) + exif : exif;
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
    KeptSize(picture.width, picture.height, area, &width, &height);
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

}  // namespace

DecodedPicture DecodePicture(const std::string& path, ScreenArea area) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        return Nothing("missing or unreadable");
    }
    const std::streamoff size = file.tellg();
    if (size <= 0) {
        return Nothing("empty file");
    }
    if (size > MaxFileBytes) {
        return Nothing("a file of " + std::to_string(size / (1024 * 1024)) + " MB is more than a picture may have");
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(bytes.data(), size)) {
        return Nothing("could not be read");
    }
    return DecodePictureData(bytes, area);
}

DecodedPicture DecodePictureData(const std::string& bytes, ScreenArea area) {
    Pixels picture;
    std::string problem;
    int orientation = 1;
    if (IsJpeg(bytes)) {
        // Turned pictures cover the area the other way round.
        orientation = Orientation(bytes, false);
        const ScreenArea stored = orientation >= 5 ? ScreenArea{area.height, area.width} : area;
        if (!DecodeJpeg(bytes, stored, &picture, &problem)) {
            return Nothing(problem);
        }
    } else if (IsPng(bytes)) {
        std::string exif;
        if (!DecodePng(bytes, &picture, &exif, &problem)) {
            return Nothing(problem);
        }
        orientation = exif.empty() ? 1 : Orientation(exif, true);
    } else {
        return Nothing("not a PNG or JPEG picture");
    }
    ApplyOrientation(picture, orientation);
    ReduceForScreen(picture, area);
    return Result(picture, problem);
}
