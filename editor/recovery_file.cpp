#include "editor/recovery_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace larkspur {
namespace {

constexpr std::string_view kMagic = "Larkspur recovery 1\n";
constexpr std::string_view kSuffix = ".recovery";
constexpr std::string_view kTemporaryMark = ".recovery.tmp";

// Reads "<key> <number>\n" from the front of `in`.
template <typename T>
bool TakeNumber(std::string_view& in, std::string_view key, T& value) {
    if (in.substr(0, key.size()) != key || in.substr(key.size(), 1) != " ") return false;
    in.remove_prefix(key.size() + 1);
    const auto [end, error] = std::from_chars(in.data(), in.data() + in.size(), value);
    if (error != std::errc() || end == in.data() || end == in.data() + in.size() || *end != '\n') return false;
    in.remove_prefix(static_cast<size_t>(end - in.data()) + 1);
    return true;
}

// "<key> <length>\n<bytes>\n"
bool TakeBytes(std::string_view& in, std::string_view key, std::string& out) {
    size_t length = 0;
    if (!TakeNumber(in, key, length) || length >= in.size() || in[length] != '\n') return false;
    out.assign(in.substr(0, length));
    in.remove_prefix(length + 1);
    return true;
}

// "<pid>-<started>" and what follows it in a recovery file's or temporary's name.
struct NameParts {
    long pid = 0;
    uint64_t started = 0;
    std::string_view rest;
};
std::optional<NameParts> SplitName(std::string_view name) {
    NameParts parts;
    const char* end = name.data() + name.size();
    auto [dash, error] = std::from_chars(name.data(), end, parts.pid);
    if (error != std::errc() || parts.pid <= 0 || dash == end || *dash != '-') return std::nullopt;
    auto [after, error2] = std::from_chars(dash + 1, end, parts.started);
    if (error2 != std::errc()) return std::nullopt;
    parts.rest = std::string_view(after, static_cast<size_t>(end - after));
    return parts;
}

// Only a folder of the user's own that nobody else may write into.
bool TrustedFolder(const std::string& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

IoResult MakeFolder(const std::string& folder) {
    for (size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return IoResult::FailureErrno("create", part, errno);
        if (slash == std::string::npos) break;
    }
    if (!TrustedFolder(folder))
        return IoResult::Failure("create", folder, "it belongs to someone else or others may write into it");
    return {};
}

bool ReadOwnFile(const std::string& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
              static_cast<uint64_t>(st.st_size) <= kMaxFileSize + 4096;
    if (ok) {
        out.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (ok && done < out.size()) {
            const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
            if (n < 0 && errno == EINTR) continue;
            ok = n > 0;
            if (ok) done += static_cast<size_t>(n);
        }
    }
    ::close(fd);
    return ok;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

std::string FormatRecovery(const RecoveryRecord& r) {
    std::ostringstream out;
    out << kMagic << "pid " << r.pid << "\nstarted " << r.started << "\ntime " << r.savedAt << "\nknown "
        << int(r.stamp.known) << "\nexists " << int(r.stamp.exists) << "\nsize " << r.stamp.size << "\nmodified "
        << r.stamp.modifiedNs << "\nhash " << r.stamp.hash << "\npath " << r.path.size() << "\n"
        << r.path << "\ntext " << r.text.size() << "\n";
    out.write(r.text.data(), static_cast<std::streamsize>(r.text.size()));
    out << "\n";
    return std::move(out).str();
}

std::optional<RecoveryRecord> ParseRecovery(std::string_view in) {
    if (in.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    in.remove_prefix(kMagic.size());
    RecoveryRecord r;
    int known = 0, exists = 0;
    if (!TakeNumber(in, "pid", r.pid) || !TakeNumber(in, "started", r.started) ||
        !TakeNumber(in, "time", r.savedAt) || !TakeNumber(in, "known", known) || !TakeNumber(in, "exists", exists) ||
        !TakeNumber(in, "size", r.stamp.size) || !TakeNumber(in, "modified", r.stamp.modifiedNs) ||
        !TakeNumber(in, "hash", r.stamp.hash) || !TakeBytes(in, "path", r.path) || !TakeBytes(in, "text", r.text) ||
        !in.empty())
        return std::nullopt;
    r.stamp.known = known != 0;
    r.stamp.exists = exists != 0;
    return r;
}

std::string RecoveryFileName(long pid, uint64_t started) {
    return std::to_string(pid) + "-" + std::to_string(started) + std::string(kSuffix);
}

uint64_t ProcessStartTime(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return 0;
    // The command name may hold blanks and parentheses: count from its end.
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i)
        if (i == 22) return std::strtoull(field.c_str(), nullptr, 10);
    return 0;
}

bool ProcessAlive(long pid, uint64_t started) {
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) return false;
    const uint64_t now = started ? ProcessStartTime(pid) : 0;
    return now == 0 || now == started;
}

IoResult WriteRecoveryFile(const std::string& folder, const RecoveryRecord& record) {
    if (IoResult made = MakeFolder(folder); !made) return made;
    const std::string path = folder + "/" + RecoveryFileName(record.pid, record.started);
    std::string temporary = path + ".tmpXXXXXX";
    // mkstemp makes the file readable and writable by the user alone.
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return IoResult::FailureErrno("create", temporary, errno);
    const bool written = WriteAll(fd, FormatRecovery(record)) && ::fsync(fd) == 0;
    const int err = errno;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const int failure = written ? errno : err;
        ::unlink(temporary.c_str());
        return IoResult::FailureErrno("write", path, failure);
    }
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

std::vector<FoundRecovery> FindLeftRecoveries(const std::string& folder) {
    std::vector<FoundRecovery> found;
    if (!TrustedFolder(folder)) return found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        const std::string file = folder + "/" + std::string(name);
        const std::optional<NameParts> parts = SplitName(name);
        if (!parts) continue;
        if (parts->rest.substr(0, kTemporaryMark.size()) == kTemporaryMark) {
            if (!ProcessAlive(parts->pid, parts->started)) ::unlink(file.c_str());
            continue;
        }
        std::string bytes;
        if (parts->rest != kSuffix || !ReadOwnFile(file, bytes)) continue;
        std::optional<RecoveryRecord> record = ParseRecovery(bytes);
        if (!record || record->pid != parts->pid || record->started != parts->started ||
            ProcessAlive(record->pid, record->started))
            continue;
        found.push_back({file, std::move(*record)});
    }
    ::closedir(dir);
    std::stable_sort(found.begin(), found.end(), [](const FoundRecovery& a, const FoundRecovery& b) {
        return a.record.savedAt > b.record.savedAt;
    });
    return found;
}

}  // namespace larkspur
