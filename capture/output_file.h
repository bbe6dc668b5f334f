// Files written under a temporary name in their own folder and given their
// real name only when complete, so that no partial file is ever left under
// it, and an existing file is replaced only when the user asked for that.
#pragma once

#include <string>

// "" when the folder of `path` exists and can be written, else why not.
std::string CheckOutputFolder(const std::string& path);

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();  // an uncommitted file is removed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file beside `path`. False with `error` set.
    bool Create(const std::string& path, std::string* error);
    const std::string& TemporaryPath() const { return temporary; }
    const std::string& Path() const { return path; }

    // Writes all of `bytes` to the temporary file.
    bool Write(const void* bytes, size_t size, std::string* error);
    // Closes and renames it to its real name; over an existing file only
    // with `overwrite`.
    bool Commit(bool overwrite, std::string* error);
    void Discard();

private:
    std::string path;
    std::string temporary;
    int fd = -1;
};

// The text of an errno value for a message about `path`.
std::string FileError(const std::string& path, int error);
