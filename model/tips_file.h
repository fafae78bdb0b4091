#pragma once
#include <cstdio>
#include <ctime>
#include <string>

namespace larkspur {

// Reads usage tips, one per line, from a plain text file. Blank-led, tab-led,
// empty and ";" lines are skipped; a line longer than the limit reads as
// several tips. At the end of the file reading wraps round to the start.
// Standard library only, so it can be driven without a display.
class TipsFile {
public:
    static constexpr int kMaxTipLength = 999;

    enum class ReadResult {
        Tip,          // the out string holds the next tip
        NoTip,        // a whole pass over the file found no tip line
        RewindFailed  // the file could not be positioned at its start
    };

    TipsFile() = default;
    ~TipsFile();
    TipsFile(const TipsFile&) = delete;
    TipsFile& operator=(const TipsFile&) = delete;

    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    void Close();

    // False when the position cannot be reached (a negative one, say).
    bool Seek(long position);
    // Offset just after the last tip read; -1 when no file is open.
    long Position() const;

    // The tip keeps its line end, as it was in the file.
    ReadResult NextTip(std::string& tip);

    // Test hook: make the next rewinds fail.
    void SetRewindFailsForTesting(bool fails) { rewindFails_ = fails; }

private:
    bool Rewind();

    std::FILE* file_ = nullptr;
    bool rewindFails_ = false;
};

// "Tue Dec  8 03:19:59 2026": English names whatever the locale, local time.
std::string FormatTimeStamp(std::time_t when);

// The file's birth time as that text; the last modification time where the
// filesystem keeps no birth time; empty when the file cannot be examined.
std::string FileTimeStamp(const std::string& path);

}  // namespace larkspur
