#pragma once
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "css/listing.h"
#include "editor/recovery_file.h"

namespace larkspur {

// Keeps this process's recovery file in step with the sheet: a while after
// the last change the unsaved sheet is written there; once nothing is
// unsaved the file goes.
class RecoveryKeeper : public QObject, public ListingObserver {
    Q_OBJECT
public:
    struct Sheet {
        std::function<bool()> unsaved;
        // The record to keep, pid and time left to the keeper.
        std::function<RecoveryRecord()> record;
    };
    RecoveryKeeper(Sheet sheet, QObject* parent);

    // The user's data folder unless set.
    static std::string DefaultFolder();
    void SetFolder(std::string folder) { folder_ = std::move(folder); }
    const std::string& Folder() const { return folder_; }
    std::string FilePath();
    void SetDelay(int milliseconds) { timer_.setInterval(milliseconds); }
    bool Pending() const { return timer_.isActive(); }

    // A change: the file is brought up to date once the sheet rests.
    void Changed() { timer_.start(); }
    // Writes or removes the file at once; false when it could not be written.
    bool Keep();
    // Nothing to keep any more: the file goes.
    void Drop();

    // A write that failed, once until one succeeds again.
    std::function<void(const std::string& error)> onError;

    // ListingObserver
    void LineInserted(int, std::string_view) override { Changed(); }
    void LinesRemoved(int, int) override { Changed(); }
    void LineReplaced(int, std::string_view) override { Changed(); }
    void LinesCleared() override { Changed(); }

private:
    Sheet sheet_;
    QTimer timer_;
    // This process as the file names it (worked out again in a forked child).
    void Identify();

    std::string folder_;
    long pid_ = 0;
    uint64_t started_ = 0;
    bool written_ = false;
    bool failed_ = false;
};

}  // namespace larkspur
