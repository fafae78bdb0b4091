#include "css/apply_journal.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "model/text_util.h"

namespace larkspur {
namespace {

constexpr std::string_view kIndexMagic = "larkspur apply journal 1\n";
constexpr const char kPagesFile[] = "/pages";
constexpr const char kIndexFile[] = "/index";
constexpr std::size_t kMaxIdDigits = 18;

bool IsRunId(std::string_view name) {
    return !name.empty() && name.size() <= kMaxIdDigits &&
           std::all_of(name.begin(), name.end(), [](char c) { return IsAsciiDigit(c); });
}

std::uint64_t IdNumber(const std::string& id) { return std::strtoull(id.c_str(), nullptr, 10); }

std::string RunFolder(const std::string& folder, const std::string& id) { return folder + "/" + id; }

bool WriteFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool SyncPath(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::string Hex(std::uint64_t value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4) out[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return out;
}

// A name of any bytes, spaces and line ends included: "<length>:<bytes>".
void AppendCounted(std::string& out, std::string_view text) {
    out += std::to_string(text.size());
    out += ':';
    out += text;
}

// Reads the index text field by field; any misfit stops it for good.
class IndexReader {
public:
    explicit IndexReader(std::string_view text) : text_(text) {}
    bool Word(std::string_view word) {
        if (!ok_ || !text_.starts_with(word)) return ok_ = false;
        text_.remove_prefix(word.size());
        return true;
    }
    std::uint64_t Number(int base = 10) {
        if (!ok_) return 0;
        const std::string_view digits = text_.substr(0, std::min<std::size_t>(text_.size(), 20));
        char* end = nullptr;
        const std::string copy(digits);
        errno = 0;
        const unsigned long long value = std::strtoull(copy.c_str(), &end, base);
        if (end == copy.c_str() || errno != 0 || copy[0] == '-' || copy[0] == ' ') return ok_ = false, 0;
        text_.remove_prefix(static_cast<std::size_t>(end - copy.c_str()));
        return value;
    }
    std::string Counted() {
        const std::uint64_t size = Number();
        if (!Word(":") || size > text_.size()) return ok_ = false, std::string();
        std::string out(text_.substr(0, size));
        text_.remove_prefix(size);
        return out;
    }
    bool Ok() const { return ok_; }
    bool AtEnd() const { return text_.empty(); }

private:
    std::string_view text_;
    bool ok_ = true;
};

IoResult JournalFailure(const std::string& path, int err) { return IoResult::FailureErrno("write the journal", path, err); }

constexpr std::uint64_t kFnvStart = 14695981039346656037ull;

std::uint64_t FnvAdd(std::uint64_t h, std::string_view bytes) {
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

// A journal names files to overwrite and holds the bytes to put there: only
// one that no one but the user could have written is trusted, as ssh trusts
// a key. `follow`: the journal folder may be reached through a link; a run,
// its index and its copies may not be links.
IoResult CheckOwn(const std::string& path, bool folder, bool follow) {
    struct stat st;
    if ((follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0)
        return IoResult::FailureErrno("use the journal", path, errno);
    std::string why;
    if (S_ISLNK(st.st_mode))
        why = "it is a link";
    else if (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode))
        why = folder ? "it is not a folder" : "it is not a regular file";
    else if (st.st_uid != ::geteuid())
        why = "it belongs to another user (uid " + std::to_string(st.st_uid) + ")";
    else if (st.st_mode & 022)
        why = "other users may write to it";
    if (why.empty()) return {};
    return IoResult::Failure("use the journal", path, why + ", so it is not trusted");
}

// The pages under the user's name with their real path: one that reaches it
// through a link or "..", or names no file, is not such.
bool IsRealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    const bool same = real && path == real;
    std::free(real);
    return same;
}

std::string RealPathOf(const std::string& path) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string out = real;
        std::free(real);
        return out;
    }
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

}  // namespace

std::string DefaultJournalFolder() {
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : "";
        }
        base = std::string(home) + "/.local/share";
    }
    return base + "/larkspur/journal";
}

ContentSum SumOf(std::string_view bytes) {
    // FNV-1a, 64 bits.
    return {bytes.size(), FnvAdd(kFnvStart, bytes)};
}

JournalWriter::~JournalWriter() {
    if (pagesFd_ >= 0) ::close(pagesFd_);
    if (indexFd_ >= 0) ::close(indexFd_);
}

IoResult JournalWriter::Start(const std::string& folder, const std::string& sheetPath, int keep) {
    std::error_code ec;
    if (std::filesystem::create_directories(folder, ec)) ::chmod(folder.c_str(), 0700);
    if (ec) return JournalFailure(folder, ec.value());
    // Undo would refuse a run kept where others may change it.
    if (IoResult r = CheckOwn(folder, true, true); !r) return r;
    const std::vector<std::string> earlier = JournalRunIds(folder);
    std::uint64_t next = earlier.empty() ? 1 : IdNumber(earlier.back()) + 1;
    // Another run may take the same number at the same moment; mkdir tells.
    for (int attempt = 0;; ++attempt, ++next) {
        id_ = std::to_string(next);
        if (::mkdir(RunFolder(folder, id_).c_str(), 0700) == 0) break;
        if (errno != EEXIST || attempt == 1000) return JournalFailure(RunFolder(folder, id_), errno);
    }
    folder_ = folder;
    const std::string run = RunFolder(folder, id_);
    pagesFd_ = ::open((run + kPagesFile).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (pagesFd_ < 0) return JournalFailure(run + kPagesFile, errno);
    indexFd_ = ::open((run + kIndexFile).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (indexFd_ < 0) return JournalFailure(run + kIndexFile, errno);

    pending_ = kIndexMagic;
    pending_ += "time " + std::to_string(static_cast<long long>(std::time(nullptr))) + "\nsheet ";
    AppendCounted(pending_, sheetPath);
    pending_ += '\n';

    const std::size_t kept = static_cast<std::size_t>(std::max(keep, 1));
    for (std::size_t i = 0; i + kept < earlier.size() + 1; ++i)
        std::filesystem::remove_all(RunFolder(folder, earlier[i]), ec);
    return {};
}

void JournalWriter::Add(const std::string& pagePath, std::string_view before, std::string_view after) {
    if (!error_) return;
    if (!WriteFully(pagesFd_, before)) {
        error_ = JournalFailure(RunFolder(folder_, id_) + kPagesFile, errno);
        return;
    }
    const ContentSum old = SumOf(before), now = SumOf(after);
    pending_ += "page " + std::to_string(pagesSize_) + ' ' + std::to_string(old.size) + ' ' + Hex(old.sum) + ' ' +
                std::to_string(now.size) + ' ' + Hex(now.sum) + ' ';
    // The file the page's name leads to, which is what a save writes.
    AppendCounted(pending_, RealPathOf(pagePath));
    pending_ += '\n';
    pagesSize_ += before.size();
}

IoResult JournalWriter::Sync() {
    if (!error_) return error_;
    const std::string run = RunFolder(folder_, id_);
    if (::fsync(pagesFd_) != 0) return error_ = JournalFailure(run + kPagesFile, errno);
    if (!WriteFully(indexFd_, pending_) || ::fsync(indexFd_) != 0)
        return error_ = JournalFailure(run + kIndexFile, errno);
    pending_.clear();
    // The run's folder and its name in the journal folder must last as well.
    if (!synced_ && (!SyncPath(run) || !SyncPath(folder_))) return error_ = JournalFailure(run, errno);
    synced_ = true;
    return {};
}

std::vector<std::string> JournalRunIds(const std::string& folder) {
    std::vector<std::string> ids;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return ids;
    while (const dirent* entry = ::readdir(dir))
        if (IsRunId(entry->d_name)) ids.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(ids.begin(), ids.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return ids;
}

IoResult ReadJournalRun(const std::string& folder, const std::string& id, JournalRun& run) {
    run = {};
    if (!IsRunId(id)) return IoResult::Failure("There is no run \"" + id + "\": a run is named by its number");
    const std::string path = RunFolder(folder, id) + kIndexFile;
    if (!FileExists(RunFolder(folder, id)))
        return IoResult::Failure("There is no run " + id + " in \"" + folder + "\"");
    std::string text;
    if (IoResult r = ReadWholeFile(path, text); !r) return r;
    run.id = id;
    // A run killed before it noted its first page replaced none.
    if (text.empty()) return {};
    IndexReader in(text);
    in.Word(kIndexMagic);
    in.Word("time ");
    run.time = static_cast<std::int64_t>(in.Number());
    in.Word("\nsheet ");
    run.sheet = in.Counted();
    in.Word("\n");
    if (!in.Ok()) return IoResult::Failure("open", path, "it is not a journal of this program");
    while (!in.AtEnd()) {
        JournalPage page;
        in.Word("page ");
        page.offset = in.Number();
        in.Word(" ");
        page.before.size = in.Number();
        in.Word(" ");
        page.before.sum = in.Number(16);
        in.Word(" ");
        page.after.size = in.Number();
        in.Word(" ");
        page.after.sum = in.Number(16);
        in.Word(" ");
        page.path = in.Counted();
        if (!in.Word("\n")) break;
        run.pages.push_back(std::move(page));
    }
    return {};
}

std::size_t UndoReport::Count(UndoOutcome outcome) const {
    return static_cast<std::size_t>(
        std::count_if(pages.begin(), pages.end(), [outcome](const UndoPage& p) { return p.outcome == outcome; }));
}

namespace {

bool ReadAt(int fd, std::uint64_t offset, std::uint64_t size, std::string& out) {
    out.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, out.data() + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Size and checksum of a file of any size, read piece by piece: a page that
// apply took past the size limit of a read can still be told and put back.
IoResult SumOfFile(const std::string& path, ContentSum& sum) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return IoResult::FailureErrno("open", path, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return IoResult::Failure("open", path, "it is not a regular file");
    }
    sum = {0, kFnvStart};
    std::string buf(std::size_t{1} << 16, '\0');
    for (;;) {
        const ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return IoResult::FailureErrno("read", path, err);
        }
        if (n == 0) break;
        sum.size += static_cast<std::uint64_t>(n);
        sum.sum = FnvAdd(sum.sum, std::string_view(buf.data(), static_cast<std::size_t>(n)));
    }
    ::close(fd);
    return {};
}

UndoPage PutBack(const JournalPage& page, int pagesFd, std::uint64_t pagesSize, const std::string& runId) {
    const std::string quoted = "\"" + page.path + "\"";
    struct stat st;
    if (::stat(page.path.c_str(), &st) != 0 && errno == ENOENT)
        return {page.path, UndoOutcome::kSkipped, "Skipped " + quoted + ": it is no longer there"};
    if (!IsRealPath(page.path))
        return {page.path, UndoOutcome::kFailed,
                "Cannot put back " + quoted + ": the journal names it by a path through a link or \"..\", "
                "which is not the file the run wrote"};
    ContentSum sum;
    if (IoResult r = SumOfFile(page.path, sum); !r) return {page.path, UndoOutcome::kFailed, r.error};
    if (sum == page.after) {
        // Sizes are checked against the copies held before anything is read.
        const bool fits = page.before.size <= kMaxFileSize && page.before.size <= pagesSize &&
                          page.offset <= pagesSize - page.before.size;
        std::string old;
        if (!fits || !ReadAt(pagesFd, page.offset, page.before.size, old) || SumOf(old) != page.before)
            return {page.path, UndoOutcome::kFailed,
                    "Cannot put back " + quoted + ": the journal's copy of it is damaged"};
        if (IoResult r = ReplaceFileContents(page.path, old); !r) return {page.path, UndoOutcome::kFailed, r.error};
        return {page.path, UndoOutcome::kPutBack, "Put back " + quoted};
    }
    if (sum == page.before)
        return {page.path, UndoOutcome::kAlreadyBefore, quoted + " already holds what it held before run " + runId};
    return {page.path, UndoOutcome::kSkipped,
            "Skipped " + quoted + ": it was changed after run " + runId + ", so it is left as it is"};
}

}  // namespace

UndoReport UndoApplyRun(const std::string& folder, const std::string& id) {
    UndoReport report;
    report.runId = id;
    if (report.io = CheckOwn(folder, true, true); !report.io) return report;
    JournalRun run;
    if (report.runId.empty()) {
        // The latest run that got as far as noting a page.
        const std::vector<std::string> ids = JournalRunIds(folder);
        for (auto it = ids.rbegin(); it != ids.rend() && report.runId.empty(); ++it)
            if (ReadJournalRun(folder, *it, run) && !run.pages.empty()) report.runId = *it;
        if (report.runId.empty()) {
            report.io = IoResult::Failure("There is no run to take back in \"" + folder + "\"");
            return report;
        }
    } else if (report.io = ReadJournalRun(folder, report.runId, run); !report.io) {
        return report;
    }
    const std::string runFolder = RunFolder(folder, run.id);
    for (const auto& [path, isFolder] : {std::pair{runFolder, true}, std::pair{runFolder + kIndexFile, false},
                                         std::pair{runFolder + kPagesFile, false}})
        if (report.io = CheckOwn(path, isFolder, false); !report.io) return report;
    const std::string pagesPath = RunFolder(folder, run.id) + kPagesFile;
    const int fd = ::open(pagesPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        report.io = IoResult::FailureErrno("open", pagesPath, errno);
        if (fd >= 0) ::close(fd);
        return report;
    }
    // Last first: a page named twice in a run gets its oldest bytes back.
    for (auto page = run.pages.rbegin(); page != run.pages.rend(); ++page)
        report.pages.push_back(PutBack(*page, fd, static_cast<std::uint64_t>(st.st_size), run.id));
    ::close(fd);
    std::reverse(report.pages.begin(), report.pages.end());
    return report;
}

}  // namespace larkspur
