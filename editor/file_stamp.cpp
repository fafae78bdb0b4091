#include "editor/file_stamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace larkspur {
namespace {

FileStamp StatFile(const std::string& path, struct stat& st) {
    FileStamp stamp;
    stamp.known = true;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
    stamp.exists = true;
    stamp.size = static_cast<uint64_t>(st.st_size);
    stamp.modifiedNs = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

// False when the file cannot be read whole.
bool HashFile(const std::string& path, uint64_t& hash) {
    // O_NONBLOCK: a FIFO put in the file's place must not hang the window.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    std::vector<char> buffer(size_t{1} << 16);
    uint64_t h = HashBytes(nullptr, 0);
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            ok = errno == EINTR;
            if (ok) continue;
            break;
        }
        h = HashBytes(buffer.data(), static_cast<size_t>(n), h);
    }
    ::close(fd);
    hash = h;
    return ok;
}

}  // namespace

uint64_t HashBytes(const char* data, std::size_t size, uint64_t seed) {
    uint64_t h = seed;
    for (std::size_t i = 0; i < size; ++i) {
        h ^= static_cast<unsigned char>(data[i]);
        h *= 1099511628211ull;
    }
    return h;
}

FileStamp StampFile(const std::string& path) {
    struct stat st {};
    FileStamp stamp = StatFile(path, st);
    if (stamp.exists && !HashFile(path, stamp.hash)) stamp.exists = false;
    return stamp;
}

bool ChangedSince(const FileStamp& before, const std::string& path, FileStamp* now) {
    struct stat st {};
    FileStamp current = StatFile(path, st);
    bool changed;
    if (!before.known) {
        // Nothing was read from the file: nothing of anyone's to lose.
        if (current.exists) HashFile(path, current.hash);
        if (now) *now = current;
        return false;
    }
    if (!current.exists || !before.exists) {
        changed = current.exists != before.exists;
        if (current.exists) HashFile(path, current.hash);
    } else if (current.size == before.size && current.modifiedNs == before.modifiedNs) {
        current.hash = before.hash;
        changed = false;
    } else {
        if (!HashFile(path, current.hash)) current.exists = false;
        changed = current.exists != before.exists || current.size != before.size || current.hash != before.hash;
    }
    if (now) *now = current;
    return changed;
}

}  // namespace larkspur
