#pragma once

#include <string>

namespace tevra {

// Integer keys in the application profile's "Settings" section.
class Profile {
public:
    virtual ~Profile() = default;
    virtual int readInt(const std::string& key, int defaultValue) const = 0;
    virtual void writeInt(const std::string& key, int value) = 0;
};

} // namespace tevra
