#include "ui/exchange/SettingsProfile.h"

#include <QCoreApplication>

namespace tevra {

namespace {

QString settingsKey(const std::string& key) {
    return QStringLiteral("Settings/") + QString::fromStdString(key);
}

QString geometryKey(const QString& window) {
    return window + QStringLiteral("/geometry");
}

} // namespace

SettingsProfile::SettingsProfile()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::applicationName()) {}

int SettingsProfile::readInt(const std::string& key, int defaultValue) const {
    bool ok = false;
    const int value = m_settings.value(settingsKey(key), defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

void SettingsProfile::writeInt(const std::string& key, int value) {
    m_settings.setValue(settingsKey(key), value);
    // Written at once, so that a later crash loses nothing already stored.
    m_settings.sync();
}

std::string SettingsProfile::readText(const std::string& key) const {
    return m_settings.value(settingsKey(key)).toString().toStdString();
}

void SettingsProfile::writeText(const std::string& key, const std::string& value) {
    m_settings.setValue(settingsKey(key), QString::fromStdString(value));
    m_settings.sync();
}

QByteArray SettingsProfile::readGeometry(const QString& window) const {
    return m_settings.value(geometryKey(window)).toByteArray();
}

void SettingsProfile::writeGeometry(const QString& window, const QByteArray& geometry) {
    m_settings.setValue(geometryKey(window), geometry);
    m_settings.sync();
}

} // namespace tevra
