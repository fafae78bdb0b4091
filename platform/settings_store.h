#pragma once
#include <string>

namespace larkspur {

// The per-user settings store: integer and string values by section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    virtual void SetInt(const std::string& section, const std::string& key, int value) = 0;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) = 0;
    virtual void SetString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
};

}  // namespace larkspur
