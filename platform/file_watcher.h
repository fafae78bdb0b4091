#pragma once
#include <functional>
#include <string>

namespace larkspur {

// Tells when a watched file is written, replaced, moved away, deleted or
// made again. The window decides what a change means; the watcher only
// reports, and keeps watching a path after the file behind it was replaced.
class FileWatcher {
public:
    virtual ~FileWatcher() = default;

    // Watching an empty path does nothing; watching it again is harmless.
    virtual void Watch(const std::string& path) = 0;
    virtual void Unwatch(const std::string& path) = 0;

    // Called with the watched path, never from inside Watch or Unwatch.
    std::function<void(const std::string& path)> onChanged;
};

}  // namespace larkspur
