#include "capture/output_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// What a newly created file gets by the user's umask, read once at start-up
// while no other thread could be creating files.
const mode_t NewFileMode = [] {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}();

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FileError(const std::string& path, int error) {
    if (error == ENOSPC || error == EDQUOT) {
        return path + ": the disk is full";
    }
    return path + ": " + std::strerror(error);
}

std::string CheckOutputFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return "the folder " + folder + " does not exist";
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        return "the folder " + folder + " cannot be written";
    }
    return "";
}

OutputFile::~OutputFile() {
    Discard();
}

bool OutputFile::Create(const std::string& target, std::string* error) {
    path = target;
    // Hidden, and unique, so that it never meets a file of the user's.
    std::string pattern = FolderOf(target) + "/." + NameOf(target) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd = mkstemp(name.data());
    if (fd < 0) {
        *error = FileError(target, errno);
        return false;
    }
    fchmod(fd, NewFileMode);
    temporary = name.data();
    return true;
}

bool OutputFile::Write(const void* bytes, size_t size, std::string* error) {
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = ::write(fd, at, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            *error = FileError(path, errno);
            return false;
        }
        at += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool OutputFile::Commit(bool overwrite, std::string* error) {
    if (fd >= 0 && ::close(fd) != 0) {
        fd = -1;
        *error = FileError(path, errno);
        return false;
    }
    fd = -1;
    // Without leave to overwrite, a file that appeared meanwhile is kept.
    const int moved = overwrite ? ::rename(temporary.c_str(), path.c_str())
                                : renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE);
    if (moved != 0) {
        *error = errno == EEXIST ? path + " exists; --overwrite replaces it" : FileError(path, errno);
        return false;
    }
    temporary.clear();
    return true;
}

void OutputFile::Discard() {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
        temporary.clear();
    }
}
