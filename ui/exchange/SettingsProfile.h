#pragma once

#include "link/Profile.h"

#include <QSettings>

namespace tevra {

// The application profile: an INI file in the user's configuration directory, named after the
// application, with every key in the "Settings" group; window places beside it in groups of
// their own.
class SettingsProfile : public Profile {
public:
    SettingsProfile();

    int readInt(const std::string& key, int defaultValue) const override;
    void writeInt(const std::string& key, int value) override;
    std::string readText(const std::string& key) const override;
    void writeText(const std::string& key, const std::string& value) override;

    // A window's size and place, as QWidget::saveGeometry gives them, in a group named after
    // the window; empty when none was stored.
    QByteArray readGeometry(const QString& window) const;
    void writeGeometry(const QString& window, const QByteArray& geometry);

private:
    QSettings m_settings;
};

} // namespace tevra
