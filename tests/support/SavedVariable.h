#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tevra::test {

// Keeps an environment variable as the test found it.
class SavedVariable {
public:
    explicit SavedVariable(const char* name) : m_name(name) {
        if (const char* value = std::getenv(name)) {
            m_value = value;
        }
    }
    ~SavedVariable() { m_value ? ::setenv(m_name, m_value->c_str(), 1) : ::unsetenv(m_name); }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_value;
};

} // namespace tevra::test
