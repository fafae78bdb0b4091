#pragma once
#include <cstdint>
#include <string>

namespace larkspur {

// What a file held when it was read or written: enough to tell later whether
// someone else has changed it since.
struct FileStamp {
    bool known = false;   // a stamp was taken
    bool exists = false;  // the file was there then
    uint64_t size = 0;
    int64_t modifiedNs = 0;  // modification time, nanoseconds since the epoch
    uint64_t hash = 0;       // of the whole contents
    bool operator==(const FileStamp&) const = default;
};

// The file as it is now (links followed); `exists` is false when it cannot
// be read as a regular file.
FileStamp StampFile(const std::string& path);

// Whether the file now holds something else than when `before` was taken.
// Size and time equal to the stamp's mean unchanged without reading the
// file; a new time with the same bytes (a touch, our own save seen late) is
// no change. Sets `now` to the file's current stamp.
bool ChangedSince(const FileStamp& before, const std::string& path, FileStamp* now = nullptr);

// 64-bit FNV-1a.
uint64_t HashBytes(const char* data, std::size_t size, uint64_t seed = 14695981039346656037ull);

}  // namespace larkspur
