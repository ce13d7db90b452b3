#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace tevra::test {

// A new folder under the system's temporary folder, removed with everything in it at the end.
// path() is empty when the system refuses to make one.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix) {
        std::string name = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(name.data()) != nullptr) {
            m_path = name;
        }
    }
    ~TemporaryFolder() {
        if (!m_path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace tevra::test
