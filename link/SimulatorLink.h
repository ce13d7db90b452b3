#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tevra {

// A running simulated controller makes itself known through a symbolic link to its device,
// with its process id beside it, so that the editor can offer it in the port list.
//
// The meeting point is $XDG_RUNTIME_DIR, or else a folder of this user's own in the temporary
// directory (tevra-<uid>, mode 0700). Anyone can plant names in /tmp, so that folder is used
// only while it is a real directory that this user owns and nobody else may enter, files are
// never written through a link, and a link or process file that this user does not own is
// ignored.
class SimulatorLink {
public:
    // Where the link is, or would be.
    static std::filesystem::path path();

    // The published device, unless the link is missing, stale (its process has gone or its
    // device no longer exists) or not this user's.
    static std::optional<std::string> publishedDevice();

    // Replaces any earlier link; false when the link cannot be written safely.
    static bool publish(const std::string& devicePath);
    // Removes the link only while it still belongs to this process.
    static void withdraw();
};

} // namespace tevra
