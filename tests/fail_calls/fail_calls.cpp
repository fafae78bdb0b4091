// Preloaded into a program under test (LD_PRELOAD), fails one system call the
// way a sick disk or a network file system would:
//   LARKSPUR_FAIL_CALL  write | fsync | close | rename | dirsync
//   LARKSPUR_FAIL_PATH  the call fails only on a file whose path starts so
// Only the first such call fails, with EIO: write, fsync and close on a file
// open for writing, rename of such a file away, fsync of a folder (dirsync).
// A failed close still closes the descriptor, as Linux does.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool failed = false;

bool Wanted(const char* call) {
    const char* want = std::getenv("LARKSPUR_FAIL_CALL");
    return !failed && want && std::strcmp(want, call) == 0;
}

bool PathMatches(const char* path) {
    const char* prefix = std::getenv("LARKSPUR_FAIL_PATH");
    return prefix && std::strncmp(path, prefix, std::strlen(prefix)) == 0;
}

bool FdMatches(int fd, bool folder) {
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) != folder) return false;
    if (!folder && (fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) return false;
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n < 0) return false;
    path[n] = '\0';
    return PathMatches(path);
}

// True once, for the first call that should fail; errno is then EIO.
bool FailNow(const char* call, int fd) {
    if (!Wanted(call) || !FdMatches(fd, std::strcmp(call, "dirsync") == 0)) return false;
    failed = true;
    return true;
}

template <typename F>
F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t size) {
    static auto next = Next<ssize_t (*)(int, const void*, size_t)>("write");
    if (FailNow("write", fd)) return errno = EIO, -1;
    return next(fd, data, size);
}

int fsync(int fd) {
    static auto next = Next<int (*)(int)>("fsync");
    if (FailNow("fsync", fd) || FailNow("dirsync", fd)) return errno = EIO, -1;
    return next(fd);
}

int close(int fd) {
    static auto next = Next<int (*)(int)>("close");
    const bool fail = FailNow("close", fd);
    const int r = next(fd);
    if (fail) return errno = EIO, -1;
    return r;
}

int rename(const char* from, const char* to) noexcept {
    static auto next = Next<int (*)(const char*, const char*)>("rename");
    if (Wanted("rename") && PathMatches(from)) {
        failed = true;
        return errno = EIO, -1;
    }
    return next(from, to);
}

}  // extern "C"
