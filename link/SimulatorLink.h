#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tevra {

// A running simulated controller makes itself known through a symbolic link to its device,
// with its process id beside it, so that the editor can offer it in the port list.
class SimulatorLink {
public:
    // $XDG_RUNTIME_DIR/tevra-simulator, or /tmp/tevra-simulator-<uid> without that variable.
    static std::filesystem::path path();

    // The published device, unless the link is missing or stale (its process has gone or its
    // device no longer exists).
    static std::optional<std::string> publishedDevice();

    // Replaces any earlier link; false when the link cannot be written.
    static bool publish(const std::string& devicePath);
    // Removes the link only while it still belongs to this process.
    static void withdraw();

private:
    static std::filesystem::path pidPath();
};

} // namespace tevra
