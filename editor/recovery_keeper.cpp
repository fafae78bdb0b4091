#include "editor/recovery_keeper.h"

#include <unistd.h>

#include <QStandardPaths>
#include <ctime>

namespace larkspur {

namespace {
constexpr int kRestMilliseconds = 2000;
}  // namespace

RecoveryKeeper::RecoveryKeeper(Sheet sheet, QObject* parent)
    : QObject(parent), sheet_(std::move(sheet)), folder_(DefaultFolder()) {
    timer_.setSingleShot(true);
    timer_.setInterval(kRestMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::Keep);
}

std::string RecoveryKeeper::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/larkspur/recovery";
}

void RecoveryKeeper::Identify() {
    if (pid_ == ::getpid()) return;
    pid_ = ::getpid();
    started_ = ProcessStartTime(pid_);
    written_ = false;
}

std::string RecoveryKeeper::FilePath() {
    Identify();
    return folder_ + "/" + RecoveryFileName(pid_, started_);
}

bool RecoveryKeeper::Keep() {
    timer_.stop();
    if (!sheet_.unsaved()) {
        Drop();
        return true;
    }
    RecoveryRecord record = sheet_.record();
    Identify();
    record.pid = pid_;
    record.started = started_;
    record.savedAt = static_cast<int64_t>(std::time(nullptr));
    const IoResult written = WriteRecoveryFile(folder_, record);
    written_ = written_ || written.ok;
    if (!written && !failed_ && onError) onError(written.error);
    failed_ = !written.ok;
    return written.ok;
}

void RecoveryKeeper::Drop() {
    timer_.stop();
    Identify();
    if (!written_) return;
    ::unlink(FilePath().c_str());
    written_ = false;
}

}  // namespace larkspur
