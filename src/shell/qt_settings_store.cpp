#include "shell/qt_settings_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace dadaz {

namespace {

QString executableName() {
    QString path = QCoreApplication::applicationFilePath();
    QString name = QFileInfo(path).completeBaseName();
    return name.isEmpty() ? QStringLiteral("DADAzarEdizuda") : name;
}

}  // namespace

QtSettingsStore::QtSettingsStore(QString applicationName)
    : applicationName_(applicationName.isEmpty() ? executableName() : std::move(applicationName)) {}

void QtSettingsStore::writeString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, applicationName_,
                       applicationName_);
    settings.beginGroup(QString::fromStdString(section));
    settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
    settings.endGroup();
    settings.sync();
}

std::optional<std::string> QtSettingsStore::readString(const std::string& section,
                                                       const std::string& key) const {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, applicationName_,
                       applicationName_);
    settings.beginGroup(QString::fromStdString(section));
    const QVariant value = settings.value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

QString QtSettingsStore::fileName() const {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, applicationName_, applicationName_)
        .fileName();
}

}  // namespace dadaz
