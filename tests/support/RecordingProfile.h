#pragma once

#include "link/Profile.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tevra {

// An in-memory profile that also records every integer write in order.
class RecordingProfile : public Profile {
public:
    int readInt(const std::string& key, int defaultValue) const override {
        return m_values.contains(key) ? m_values.at(key) : defaultValue;
    }
    void writeInt(const std::string& key, int value) override {
        m_values[key] = value;
        m_writes.emplace_back(key, value);
    }
    std::string readText(const std::string& key) const override {
        return m_texts.contains(key) ? m_texts.at(key) : std::string();
    }
    void writeText(const std::string& key, const std::string& value) override {
        m_texts[key] = value;
    }

    std::map<std::string, int> m_values;
    std::map<std::string, std::string> m_texts;
    std::vector<std::pair<std::string, int>> m_writes;
};

} // namespace tevra
