#pragma once
#include "platform/settings_store.h"

namespace larkspur {

// Per-user settings under "Fernhollow"/"Larkspur", one group per section.
class QtSettingsStore : public SettingsStore {
public:
    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    void SetString(const std::string& section, const std::string& key, const std::string& value) override;
};

}  // namespace larkspur
