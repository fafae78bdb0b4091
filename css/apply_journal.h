#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "css/file_io.h"

namespace larkspur {

// Every run that places a sheet into pages keeps a journal of what it
// replaced, so that the whole run can be taken back. A run's journal is a
// folder of its own, named by its number, under the journal folder: "pages"
// holds each replaced page's old bytes one after the other, "index" says
// whose they are, with the size and checksum of the old and of the new file.
// Entries are synced before the pages they name are replaced, so a run that
// is killed midway can still be taken back for the pages it reached.

inline constexpr int kKeptRuns = 20;

// $XDG_DATA_HOME/larkspur/journal, or ~/.local/share/larkspur/journal when
// that is not set (or not an absolute path).
std::string DefaultJournalFolder();

// Size and checksum of a file's contents, to tell later whether a page still
// holds what a run wrote. Not proof against someone forging a page.
struct ContentSum {
    std::uint64_t size = 0;
    std::uint64_t sum = 0;
    bool operator==(const ContentSum&) const = default;
};
ContentSum SumOf(std::string_view bytes);

// Records one run.
class JournalWriter {
public:
    JournalWriter() = default;
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;
    ~JournalWriter();

    // Makes the run's folder under `folder` (and the folder, private to the
    // user, when missing) and removes the oldest runs so that at most `keep`
    // are left, this one included.
    IoResult Start(const std::string& folder, const std::string& sheetPath, int keep = kKeptRuns);
    // Notes a page that is about to be replaced; on disk, but not yet synced.
    void Add(const std::string& pagePath, std::string_view before, std::string_view after);
    // Syncs every page noted so far; only after this may they be replaced.
    IoResult Sync();
    const std::string& RunId() const { return id_; }

private:
    std::string folder_;
    std::string id_;
    int pagesFd_ = -1;
    int indexFd_ = -1;
    std::uint64_t pagesSize_ = 0;
    std::string pending_;  // index entries not written yet
    IoResult error_;
    bool synced_ = false;
};

struct JournalPage {
    std::string path;
    std::uint64_t offset = 0;  // of the old bytes in "pages"
    ContentSum before;
    ContentSum after;
};

struct JournalRun {
    std::string id;
    std::string sheet;
    std::int64_t time = 0;  // seconds since 1970
    std::vector<JournalPage> pages;
};

// The runs kept in the folder, oldest first.
std::vector<std::string> JournalRunIds(const std::string& folder);
// Reads a run's index; an entry cut short (a run killed while writing it)
// ends the list, as its page was not yet replaced.
IoResult ReadJournalRun(const std::string& folder, const std::string& id, JournalRun& run);

enum class UndoOutcome {
    kPutBack,        // the page held what the run wrote and has its old bytes again
    kAlreadyBefore,  // it holds its old bytes (the run never got to it, or it was put back before)
    kSkipped,        // changed since the run or gone: left as it is
    kFailed,         // it could not be written, or the journal's copy is damaged
};

struct UndoPage {
    std::string path;
    UndoOutcome outcome;
    std::string message;  // one line, fit to show the user
};

struct UndoReport {
    IoResult io;  // the run could not be found or read
    std::string runId;
    std::vector<UndoPage> pages;
    std::size_t Count(UndoOutcome outcome) const;
    // Every page holds what it held before the run.
    bool Complete() const { return io.ok && Count(UndoOutcome::kSkipped) + Count(UndoOutcome::kFailed) == 0; }
};

// Puts back every page of the run that still holds what the run wrote, with
// the same file replacement as a save, so the page keeps its owner, mode and
// links; a page changed since is skipped. Without an id, the latest run that
// noted a page (one killed before that replaced nothing).
UndoReport UndoApplyRun(const std::string& folder, const std::string& id = {});

}  // namespace larkspur
