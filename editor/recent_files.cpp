#include "editor/recent_files.h"

#include <algorithm>
#include <filesystem>

#include "platform/settings_store.h"

namespace larkspur {
namespace {

constexpr const char* kSection = "Recent";

std::string Key(int n) { return "File" + std::to_string(n + 1); }

}  // namespace

RecentFiles::RecentFiles(SettingsStore& settings) : settings_(settings) {
    for (int n = 0; n < kMax; ++n) {
        std::string path = settings_.GetString(kSection, Key(n), "");
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end())
            paths_.push_back(std::move(path));
    }
}

void RecentFiles::Add(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::string full = error ? path : absolute.lexically_normal().string();
    std::erase(paths_, full);
    paths_.insert(paths_.begin(), full);
    if (paths_.size() > static_cast<size_t>(kMax)) paths_.resize(kMax);
    Store();
}

void RecentFiles::Remove(const std::string& path) {
    if (std::erase(paths_, path) != 0) Store();
}

void RecentFiles::Store() {
    for (int n = 0; n < kMax; ++n)
        settings_.SetString(kSection, Key(n), n < static_cast<int>(paths_.size()) ? paths_[n] : std::string());
}

}  // namespace larkspur
