#include "css/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace larkspur {
namespace {

FileWriteHook& WriteHook() {
    static FileWriteHook hook;
    return hook;
}

long WriteSome(int fd, const char* data, std::size_t size) {
    if (WriteHook()) return WriteHook()(fd, data, size);
    return static_cast<long>(::write(fd, data, size));
}


// The real file behind a link, so the link survives the rename.
std::string ResolveTarget(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char buf[PATH_MAX];
        if (::realpath(path.c_str(), buf)) return buf;
    }
    return path;
}

}  // namespace

IoResult IoResult::Failure(std::string_view verb, const std::string& path, std::string_view reason) {
    std::string message = "Cannot ";
    message += verb;
    message += " \"";
    message += path;
    message += "\": ";
    message += reason;
    return Failure(std::move(message));
}

IoResult IoResult::FailureErrno(std::string_view verb, const std::string& path, int err) {
    return Failure(verb, path, std::strerror(err));
}

void SetFileWriteHook(FileWriteHook hook) { WriteHook() = std::move(hook); }

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

IoResult ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return IoResult::FailureErrno("open", path, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return IoResult::Failure("open", path, "it is not a regular file");
    }
    if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
    std::vector<char> buf(1 << 16);
    for (;;) {
        ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            out.clear();
            return IoResult::FailureErrno("read", path, err);
        }
        if (n == 0) break;
        out.append(buf.data(), static_cast<size_t>(n));
    }
    ::close(fd);
    return {};
}

IoResult ReplaceFileContents(const std::string& requestedPath, std::string_view bytes) {
    const std::string path = ResolveTarget(requestedPath);
    struct stat old;
    bool existed = ::stat(path.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode))
        return IoResult::Failure("write", requestedPath, "it is not a regular file");

    std::string folder = FolderOf(path);
    std::string base = path.substr(folder.size());
    std::string tmpl = folder + "." + base + ".XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return IoResult::FailureErrno("write", requestedPath, errno);
    std::string tmp(name.data());

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return IoResult::FailureErrno("write", requestedPath, err);
    };

    size_t done = 0;
    while (done < bytes.size()) {
        long n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (n == 0) return fail(ENOSPC);
        done += static_cast<size_t>(n);
    }
    mode_t mode;
    if (existed) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        return IoResult::FailureErrno("write", requestedPath, err);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        return IoResult::FailureErrno("write", requestedPath, err);
    }
    return {};
}

}  // namespace larkspur
