#pragma once
#include <string>
#include <vector>

namespace larkspur {

class SettingsStore;

// The files last opened or saved, newest first, kept in the settings
// ("Recent"/"File1" to "File10").
class RecentFiles {
public:
    static constexpr int kMax = 10;

    explicit RecentFiles(SettingsStore& settings);

    const std::vector<std::string>& Paths() const { return paths_; }
    // To the front, once, as an absolute path; the oldest beyond kMax go.
    void Add(const std::string& path);
    void Remove(const std::string& path);

private:
    void Store();

    SettingsStore& settings_;
    std::vector<std::string> paths_;
};

}  // namespace larkspur
