// make-media [DIR]: writes the sample media that are missing from DIR
// (default "data"). Files that exist are never touched.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "media.h"

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Writes into a temporary file, then links it into place: a file that
// appeared meanwhile is kept, and a failed write leaves nothing behind.
template <typename Writer>
bool Produce(const std::string& dir, const std::string& name, Writer write) {
    const std::string path = dir + "/" + name;
    if (Exists(path)) {
        std::printf("kept     %s\n", path.c_str());
        return true;
    }
    const std::string temporary = dir + "/." + name + ".part";
    std::string error;
    if (!write(temporary, &error)) {
        unlink(temporary.c_str());
        std::fprintf(stderr, "make-media: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    const bool placed = link(temporary.c_str(), path.c_str()) == 0;
    const int linkError = errno;
    unlink(temporary.c_str());
    if (!placed) {
        std::fprintf(stderr, "make-media: %s: %s\n", path.c_str(),
                     linkError == EEXIST ? "appeared meanwhile; kept" : std::strerror(linkError));
        return linkError == EEXIST;
    }
    std::printf("wrote    %s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: make-media [DIR]\n");
        return 2;
    }
    const std::string dir = argc == 2 ? argv[1] : "data";
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "make-media: cannot create %s: %s\n", dir.c_str(), std::strerror(errno));
        return 1;
    }
    bool ok = true;
    for (const PictureEntry& picture : PictureTable) {
        ok &= Produce(dir, PictureName(picture), [&picture](const std::string& path, std::string* error) {
            return WritePicture(picture.id, path, error);
        });
    }
    ok &= Produce(dir, DataFileName(MusicPath),
                  [](const std::string& path, std::string* error) { return WriteMusic(path, error); });
    return ok ? 0 : 1;
}
