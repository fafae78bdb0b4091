#include "model/tips_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace larkspur {

TipsFile::~TipsFile() { Close(); }

bool TipsFile::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "r");
    return file_ != nullptr;
}

void TipsFile::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool TipsFile::Seek(long position) {
    if (file_ == nullptr || position < 0) return false;
    return std::fseek(file_, position, SEEK_SET) == 0;
}

long TipsFile::Position() const { return file_ != nullptr ? std::ftell(file_) : -1; }

bool TipsFile::Rewind() {
    if (file_ == nullptr || rewindFails_) return false;
    std::clearerr(file_);
    return std::fseek(file_, 0, SEEK_SET) == 0;
}

TipsFile::ReadResult TipsFile::NextTip(std::string& tip) {
    tip.clear();
    if (file_ == nullptr) return ReadResult::NoTip;
    char buffer[kMaxTipLength + 1];
    // One rewind is allowed per call: a second end of file means the whole
    // file was read without finding a tip, and reading on would never end.
    bool rewound = false;
    for (;;) {
        if (std::fgets(buffer, sizeof buffer, file_) == nullptr) {
            if (rewound) return ReadResult::NoTip;
            if (!Rewind()) return ReadResult::RewindFailed;
            rewound = true;
            continue;
        }
        const char first = buffer[0];
        if (first == ' ' || first == '\t' || first == '\n' || first == '\r' || first == ';' ||
            first == '\0')
            continue;
        tip.assign(buffer);
        return ReadResult::Tip;
    }
}

std::string FormatTimeStamp(std::time_t when) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", kDays[local.tm_wday % 7],
                  kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec, local.tm_year + 1900);
    return text;
}

std::string FileTimeStamp(const std::string& path) {
    struct statx info;
    std::memset(&info, 0, sizeof info);
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info) == 0) {
        if ((info.stx_mask & STATX_BTIME) != 0 && info.stx_btime.tv_sec != 0)
            return FormatTimeStamp(static_cast<std::time_t>(info.stx_btime.tv_sec));
        if ((info.stx_mask & STATX_MTIME) != 0)
            return FormatTimeStamp(static_cast<std::time_t>(info.stx_mtime.tv_sec));
    }
    // statx is missing on old kernels; the modification time is always there.
    struct stat plain;
    if (stat(path.c_str(), &plain) != 0) return {};
    return FormatTimeStamp(plain.st_mtime);
}

}  // namespace larkspur
