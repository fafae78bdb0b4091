#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "css/file_io.h"
#include "editor/file_stamp.h"

namespace larkspur {

// Unsaved work kept aside while the editor runs, one file per process, so
// that the next start can offer it back after a crash.
struct RecoveryRecord {
    long pid = 0;
    uint64_t started = 0;  // the process's start time, to tell a reused pid; 0 unknown
    int64_t savedAt = 0;   // seconds since the epoch
    std::string path;      // the sheet's file; empty for a sheet never saved
    FileStamp stamp;       // that file as it was last read or written
    std::string text;      // the sheet exactly as Save writes it
    bool operator==(const RecoveryRecord&) const = default;
};

std::string FormatRecovery(const RecoveryRecord& record);
// Nothing for a file that is not a whole recovery record.
std::optional<RecoveryRecord> ParseRecovery(std::string_view bytes);

// "<pid>-<start time>.recovery": a pid used again after a reboot gets a name
// of its own.
std::string RecoveryFileName(long pid, uint64_t started);
// From the process table; 0 when unknown.
uint64_t ProcessStartTime(long pid);
// Running, and not another program that was given the same pid since.
bool ProcessAlive(long pid, uint64_t started);

// Writes the record as the folder's file for its pid: a new file, readable by
// the user alone, flushed and renamed over the old one. The folder is made
// (readable by the user alone) when missing, and refused when it belongs to
// someone else or others may write into it.
IoResult WriteRecoveryFile(const std::string& folder, const RecoveryRecord& record);

struct FoundRecovery {
    std::string file;
    RecoveryRecord record;
};
// The records left by processes that are gone, newest first. Files that are
// not the user's own, damaged, or in a folder others may write are passed
// over; temporaries of writes that were killed are removed.
std::vector<FoundRecovery> FindLeftRecoveries(const std::string& folder);

}  // namespace larkspur
