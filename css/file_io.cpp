#include "css/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace larkspur {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;
constexpr int kMaxLinkHops = 40;
// A temporary this young and still empty may be one a running save has just
// made and not yet locked.
constexpr std::time_t kFreshSeconds = 60;

FileWriteHook& WriteHook() {
    static FileWriteHook hook;
    return hook;
}

long WriteSome(int fd, const char* data, std::size_t size) {
    if (WriteHook()) return WriteHook()(fd, data, size);
    return static_cast<long>(::write(fd, data, size));
}

std::string ErrnoText(int err) { return std::strerror(err); }

IoResult OpenFailure(const std::string& path, const std::string& why) {
    return IoResult::Failure("open", path, why);
}

IoResult TooLargeFailure(const std::string& path) {
    return OpenFailure(path, std::string("it is larger than ") + kMaxFileSizeText);
}

IoResult WriteFailure(const std::string& path, const std::string& why) {
    return IoResult::Failure("write", path, why);
}

// Writes everything through the hook; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes, bool hooked = true) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const char* at = bytes.data() + done;
        const std::size_t left = bytes.size() - done;
        long n = hooked ? WriteSome(fd, at, left) : static_cast<long>(::write(fd, at, left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Opens a file for reading without ever waiting on a FIFO or device, and
// checks it is a regular file of an acceptable size.
IoResult OpenRegular(const std::string& path, int& fd, struct stat& st, int flags = 0) {
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | flags);
    if (fd < 0) return OpenFailure(path, errno == ELOOP && (flags & O_NOFOLLOW) ? "it is a link" : ErrnoText(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return OpenFailure(path, "it is not a regular file");
    }
    if (static_cast<unsigned long long>(st.st_size) > kMaxFileSize) {
        ::close(fd);
        return TooLargeFailure(path);
    }
    return {};
}

// A text in a wide encoding is refused by name (before its NUL bytes could be
// taken for binary data), and what was read is dropped.
bool RefuseWideText(const std::string& path, std::string& out, IoResult& result) {
    const std::string_view encoding = WideEncodingOf(out);
    if (encoding.empty()) return false;
    result = OpenFailure(path, "it is written in " + std::string(encoding) +
                                   ", and only 8-bit text such as UTF-8 can be read");
    out.clear();
    return true;
}

// Reads at most kMaxFileSize bytes; a NUL byte stops the read when asked.
IoResult ReadOpened(const std::string& path, int fd, const struct stat& st, std::string& out,
                    const std::string_view* binaryMessage) {
    out.clear();
    if (st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
    std::vector<char> buf(kChunk);
    for (;;) {
        ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            out.clear();
            return IoResult::FailureErrno("read", path, err);
        }
        if (n == 0) break;
        const std::size_t before = out.size();
        out.append(buf.data(), static_cast<std::size_t>(n));
        if (binaryMessage) {
            IoResult wide;
            if (before < 4 && out.size() >= 4 && RefuseWideText(path, out, wide)) return wide;
            if (std::memchr(out.data() + before, '\0', out.size() - before)) {
                out.clear();
                return IoResult::Failure(std::string(*binaryMessage));
            }
        }
        if (out.size() > kMaxFileSize) {
            out.clear();
            return TooLargeFailure(path);
        }
    }
    IoResult wide;
    if (binaryMessage && out.size() < 4 && RefuseWideText(path, out, wide)) return wide;
    return {};
}

IoResult ReadFile(const std::string& path, std::string& out, const std::string_view* binaryMessage,
                  int flags = 0) {
    out.clear();
    int fd;
    struct stat st;
    if (IoResult r = OpenRegular(path, fd, st, flags); !r) return r;
    IoResult r = ReadOpened(path, fd, st, out, binaryMessage);
    ::close(fd);
    return r;
}

std::uint32_t NameHash(std::string_view name) {
    std::uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

// Eight hex digits and a dot, from the file's name: the temporaries of a
// file of any name fit the file system.
std::string ShortNameOf(const std::string& path) {
    char name[16];
    std::snprintf(name, sizeof name, "%08x.",
                  NameHash(std::string_view(path).substr(FolderOf(path).size())));
    return name;
}

IoResult CheckWritableAs(const std::string& path, const std::string& shown) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return {};
    IoResult r;
    if ((st.st_mode & 0222) == 0)
        r = WriteFailure(shown, "the file is read-only");
    else if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        r = WriteFailure(shown, "you may not write to this file (" + ErrnoText(errno) + ")");
    r.readOnly = !r.ok;
    return r;
}

// The file a save writes: the final target of a chain of links. A missing
// target is to be made; a loop fails.
struct Target {
    std::string path;
    bool exists = false;
    struct stat st {};
};

IoResult ResolveTarget(const std::string& requested, Target& t) {
    std::string path = requested;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) return WriteFailure(requested, ErrnoText(errno));
            t.path = path;
            t.exists = false;
            return {};
        }
        if (!S_ISLNK(st.st_mode)) {
            t.path = path;
            t.exists = true;
            t.st = st;
            return {};
        }
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
        if (n < 0) return WriteFailure(requested, ErrnoText(errno));
        std::string next(buf.data(), static_cast<std::size_t>(n));
        path = next.starts_with('/') ? next : FolderOf(path) + next;
    }
    return WriteFailure(requested, ErrnoText(ELOOP));
}

// Makes the new name survive a power cut. The file is saved either way, so a
// failure is a warning; a file system that cannot sync folders at all has
// nothing to warn about.
std::string SyncFolder(const std::string& folder, const std::string& shown) {
    int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int err = dfd < 0 ? errno : 0;
    if (dfd >= 0) {
        if (::fsync(dfd) != 0) err = errno;
        ::close(dfd);
    }
    if (err == 0 || err == EINVAL || err == ENOTSUP || err == ENOSYS) return {};
    return "Saved \"" + shown + "\", but its folder could not be flushed to disk (" + ErrnoText(err) +
           "): a power cut before the system does so could undo the save";
}

// Closes the descriptor and tells whether the close failed (a file system
// may report a failed write only then); fd is left on a duplicate of it, so
// the file stays open, and locked, for what follows.
bool CloseChecked(int& fd) {
    const int held = ::dup(fd);
    if (held < 0) return false;
    const int closed = ::close(fd);
    const int err = errno;
    fd = held;
    errno = err;
    return closed == 0;
}

bool IsTemporaryName(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() != prefix.size() + 6) return false;
    for (char c : name.substr(prefix.size()))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

// Removes temporaries a killed save of the same file left behind. One that a
// running save holds is locked and skipped.
void RemoveLeftovers(const std::string& prefixPath) {
    const std::string folder = FolderOf(prefixPath);
    const std::string prefix = prefixPath.substr(folder.size());
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, prefix)) continue;
        const std::string path = folder + entry->d_name;
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held, named;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            (held.st_size > 0 || std::time(nullptr) - held.st_mtime > kFreshSeconds) &&
            ::lstat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    }
    ::closedir(dir);
}

// Gives the new file the old one's extended attributes (POSIX ACLs are
// among them). False when one cannot be read or set.
bool CopyAttributes(const std::string& from, int toFd) {
    ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    std::vector<char> names(static_cast<std::size_t>(size) + 1);
    size = ::listxattr(from.c_str(), names.data(), names.size());
    if (size < 0) return false;
    std::vector<char> value;
    for (ssize_t at = 0; at < size;) {
        const char* name = names.data() + at;
        at += static_cast<ssize_t>(std::strlen(name)) + 1;
        ssize_t len = ::getxattr(from.c_str(), name, nullptr, 0);
        if (len < 0) return false;
        value.resize(static_cast<std::size_t>(len) + 1);
        len = ::getxattr(from.c_str(), name, value.data(), value.size());
        if (len < 0 || ::fsetxattr(toFd, name, value.data(), static_cast<std::size_t>(len), 0) != 0)
            return false;
    }
    return true;
}

// Outcome of the rename path: done, failed for good, or unable to keep what
// the old file had (then the file is written in place).
enum class RenameOutcome { kDone, kFailed, kCannotKeep };

RenameOutcome WriteByRename(const std::string& shown, const Target& t, const ContentSource& source,
                            IoResult& result) {
    std::string name = TemporaryPrefixFor(t.path) + "XXXXXX";
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        result = WriteFailure(shown, ErrnoText(err));
        return t.exists && (err == EACCES || err == EPERM) ? RenameOutcome::kCannotKeep
                                                           : RenameOutcome::kFailed;
    }
    // Held until the rename, so no other save takes it for a leftover.
    ::flock(fd, LOCK_EX);
    auto drop = [&](RenameOutcome outcome, int err) {
        ::unlink(name.c_str());
        ::close(fd);
        result = WriteFailure(shown, ErrnoText(err));
        return outcome;
    };
    if (!source([fd](std::string_view piece) { return WriteAll(fd, piece); }))
        return drop(RenameOutcome::kFailed, errno);

    mode_t mode;
    if (t.exists) {
        struct stat mine;
        if (::fstat(fd, &mine) != 0) return drop(RenameOutcome::kFailed, errno);
        if ((mine.st_uid != t.st.st_uid || mine.st_gid != t.st.st_gid) &&
            ::fchown(fd, t.st.st_uid, t.st.st_gid) != 0)
            return drop(RenameOutcome::kCannotKeep, errno);
        mode = t.st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // The mode before the attributes: an ACL sets the group bits itself.
    if (::fchmod(fd, mode) != 0) return drop(RenameOutcome::kFailed, errno);
    if (t.exists && !CopyAttributes(t.path, fd)) return drop(RenameOutcome::kCannotKeep, errno);
    if (::fsync(fd) != 0 || !CloseChecked(fd)) return drop(RenameOutcome::kFailed, errno);
    if (::rename(name.c_str(), t.path.c_str()) != 0) return drop(RenameOutcome::kFailed, errno);
    ::close(fd);
    result = {};
    result.warning = SyncFolder(FolderOf(t.path), shown);
    return RenameOutcome::kDone;
}

bool CopyFd(int from, int to) {
    std::vector<char> buf(kChunk);
    if (::lseek(from, 0, SEEK_SET) < 0) return false;
    for (;;) {
        ssize_t n = ::read(from, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        if (!WriteAll(to, std::string_view(buf.data(), static_cast<std::size_t>(n)), false)) return false;
    }
}

// A backup copy beside the file, or in the temporary folder when the file's
// own folder cannot be written. Its name never looks like a leftover
// temporary: a backup that outlives a crash is the old file.
int MakeBackup(const std::string& path, std::string& backupName) {
    backupName = FolderOf(path) + ".~lb" + ShortNameOf(path) + "XXXXXX";
    int fd = ::mkostemp(backupName.data(), O_CLOEXEC);
    if (fd >= 0) return fd;
    const char* tmp = std::getenv("TMPDIR");
    backupName = std::string(tmp && *tmp ? tmp : "/tmp") + "/larkspur-backup-XXXXXX";
    return ::mkostemp(backupName.data(), O_CLOEXEC);
}

// Overwrites the file itself, keeping its inode (links, owner, attributes):
// a backup copy first, then the new bytes, synced and closed; on failure the
// backup is written back through the descriptor still open.
IoResult WriteInPlace(const std::string& shown, const Target& t, const ContentSource& source) {
    int fd = ::open(t.path.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return WriteFailure(shown, ErrnoText(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_ino != t.st.st_ino) {
        ::close(fd);
        return WriteFailure(shown, "it is not a regular file");
    }
    std::string backupName;
    int backup = MakeBackup(t.path, backupName);
    if (backup < 0) {
        int err = errno;
        ::close(fd);
        return WriteFailure(shown, "no backup copy could be made: " + ErrnoText(err));
    }
    auto finish = [&](IoResult r) {
        ::close(backup);
        ::close(fd);
        return r;
    };
    if (!CopyFd(fd, backup) || ::fsync(backup) != 0) {
        int err = errno;
        ::unlink(backupName.c_str());
        return finish(WriteFailure(shown, "no backup copy could be made: " + ErrnoText(err)));
    }
    // Claim the room first, so a full disk fails before the file is touched.
    std::size_t size = 0;
    source([&size](std::string_view piece) {
        size += piece.size();
        return true;
    });
    if (size > static_cast<std::size_t>(st.st_size)) {
        if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
            errno != EOPNOTSUPP && errno != EINVAL && errno != ENOSYS) {
            int err = errno;
            ::unlink(backupName.c_str());
            return finish(WriteFailure(shown, ErrnoText(err)));
        }
    }
    if (::lseek(fd, 0, SEEK_SET) == 0 && source([fd](std::string_view piece) { return WriteAll(fd, piece); }) &&
        ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::fsync(fd) == 0 && CloseChecked(fd)) {
        ::unlink(backupName.c_str());
        return finish({});
    }
    const int err = errno;
    if (::lseek(fd, 0, SEEK_SET) == 0 && CopyFd(backup, fd) && ::ftruncate(fd, st.st_size) == 0 &&
        ::fsync(fd) == 0) {
        ::unlink(backupName.c_str());
        return finish(WriteFailure(shown, ErrnoText(err)));
    }
    return finish(WriteFailure(shown, ErrnoText(err) + "; the old contents are kept in \"" +
                                          backupName + "\""));
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

std::string TemporaryPrefixFor(const std::string& path) { return FolderOf(path) + ".~lk" + ShortNameOf(path); }

std::string_view WideEncodingOf(std::string_view t) {
    auto at = [&](std::size_t i) { return i < t.size() ? static_cast<unsigned char>(t[i]) : 0x100u; };
    if (at(0) == 0 && at(1) == 0 && at(2) == 0xFE && at(3) == 0xFF) return "UTF-32";
    if (at(0) == 0xFF && at(1) == 0xFE && at(2) == 0 && at(3) == 0) return "UTF-32";
    if ((at(0) == 0xFE && at(1) == 0xFF) || (at(0) == 0xFF && at(1) == 0xFE)) return "UTF-16";
    // Without a byte-order mark: ASCII text with zero bytes between.
    auto ascii = [&](std::size_t i) { return at(i) > 0 && at(i) < 0x80; };
    if (at(0) == 0 && at(1) == 0 && at(2) == 0 && ascii(3)) return "UTF-32";
    if (ascii(0) && at(1) == 0 && at(2) == 0 && at(3) == 0) return "UTF-32";
    if ((at(0) == 0 && ascii(1) && at(2) == 0 && ascii(3)) || (ascii(0) && at(1) == 0 && ascii(2) && at(3) == 0))
        return "UTF-16";
    return {};
}

IoResult ReadWholeFile(const std::string& path, std::string& out) { return ReadFile(path, out, nullptr); }

IoResult ReadTextFile(const std::string& path, std::string& out, std::string_view binaryMessage) {
    return ReadFile(path, out, &binaryMessage);
}

IoResult ReadTextFileNoFollow(const std::string& path, std::string& out, std::string_view binaryMessage) {
    return ReadFile(path, out, &binaryMessage, O_NOFOLLOW);
}

IoResult CheckWritable(const std::string& path) { return CheckWritableAs(path, path); }

IoResult ReplaceOwnFile(const std::string& path, std::string_view bytes) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return WriteFailure(path, "it is a folder");
    Target t;
    t.path = path;  // the name itself, never what a link there names
    RemoveLeftovers(TemporaryPrefixFor(path));
    IoResult result;
    WriteByRename(path, t, [bytes](const ContentPut& put) { return put(bytes); }, result);
    return result;
}

IoResult ReplaceFileContents(const std::string& path, std::string_view bytes) {
    return ReplaceFileContents(path, [bytes](const ContentPut& put) { return put(bytes); });
}

IoResult ReplaceFileContents(const std::string& requestedPath, const ContentSource& source) {
    Target t;
    if (IoResult r = ResolveTarget(requestedPath, t); !r) return r;
    if (t.exists && !S_ISREG(t.st.st_mode)) return WriteFailure(requestedPath, "it is not a regular file");
    if (t.exists)
        if (IoResult r = CheckWritableAs(t.path, requestedPath); !r) return r;
    RemoveLeftovers(TemporaryPrefixFor(t.path));

    const bool renameKeepsAll = !t.exists || (t.st.st_nlink == 1 && (::geteuid() == 0 || ::geteuid() == t.st.st_uid));
    if (renameKeepsAll) {
        IoResult result;
        if (WriteByRename(requestedPath, t, source, result) != RenameOutcome::kCannotKeep) return result;
    }
    return WriteInPlace(requestedPath, t, source);
}

}  // namespace larkspur
