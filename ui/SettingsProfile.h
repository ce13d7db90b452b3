#pragma once

#include "link/Profile.h"

#include <QSettings>

namespace tevra {

// The application profile: an INI file in the user's configuration directory, named after the
// application, with every key in the "Settings" group.
class SettingsProfile : public Profile {
public:
    SettingsProfile();

    int readInt(const std::string& key, int defaultValue) const override;
    void writeInt(const std::string& key, int value) override;
    std::string readText(const std::string& key) const override;
    void writeText(const std::string& key, const std::string& value) override;

private:
    QSettings m_settings;
};

} // namespace tevra
