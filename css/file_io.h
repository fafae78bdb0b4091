#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace larkspur {

// Outcome of a file operation; the error text is fit to show the user.
struct IoResult {
    bool ok = true;
    std::string error;
    explicit operator bool() const { return ok; }
    static IoResult Failure(std::string message) { return {false, std::move(message)}; }
    // "Cannot <verb> "<path>": <reason>"
    static IoResult Failure(std::string_view verb, const std::string& path, std::string_view reason);
    static IoResult FailureErrno(std::string_view verb, const std::string& path, int err);
};

// Reads a regular file whole. Directories, devices and missing files fail
// with a message naming the path.
IoResult ReadWholeFile(const std::string& path, std::string& out);

// Replaces the file's contents without ever leaving it half-written: the bytes
// go to a new file beside it, which is renamed over the old one only once it
// is complete. The old file's permission bits are kept; a link is followed.
IoResult ReplaceFileContents(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);
// Folder part of a path, ending in "/" ("" for a bare name).
std::string FolderOf(const std::string& path);

// Test hook for the low-level write: return the bytes taken (fewer is a
// partial write) or -1 with errno set. An empty function restores write(2).
using FileWriteHook = std::function<long(int fd, const char* data, std::size_t size)>;
void SetFileWriteHook(FileWriteHook hook);

}  // namespace larkspur
