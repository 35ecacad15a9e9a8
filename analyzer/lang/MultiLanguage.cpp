#include "analyzer/lang/MultiLanguage.h"

#include "analyzer/core/AtomicFile.h"

#include "analyzer/settings/LanguageSetting.h"
#include "analyzer/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kSpecialStrings = QStringLiteral("SPECIAL_STRING");
const QString kEnglish = QStringLiteral("English");

} // namespace

const std::array<CMultiLanguage::EmbeddedPack, 3>& CMultiLanguage::EmbeddedPacks()
{
    static const std::array<EmbeddedPack, 3> packs = {{
        {":/lang/1.English.ini", "1.English"},
        {":/lang/2.Simplified Chinese.ini", "2.Simplified Chinese"},
        {":/lang/3.Traditional Chinese.ini", "3.Traditional Chinese"},
    }};
    return packs;
}

CMultiLanguage::CMultiLanguage(const QString& appDir)
    : appDirectory(appDir), settingsPath(SettingsFilePath(appDir))
{
    if (!QFileInfo::exists(settingsPath))
        WriteLanguageSetting(settingsPath, kEnglish);
    SelectLanguage(QString());
}

QString CMultiLanguage::PackFolder() const
{
    return QDir(appDirectory).filePath(QStringLiteral("Language"));
}

QStringList CMultiLanguage::PackFiles() const
{
    // File-name order, case ignored, as the folder lists on the system the
    // packs come from: the numbered built-in packs first. Pipes and devices
    // are no files here, so reading a pack can never block.
    const QDir folder(PackFolder());
    QStringList paths;
    for (const QString& name : folder.entryList({QStringLiteral("*.ini")}, QDir::Files | QDir::Hidden,
                                                QDir::Name | QDir::IgnoreCase))
        paths.append(folder.filePath(name));
    return paths;
}

QStringList CMultiLanguage::ListLanguages() const
{
    QStringList names;
    for (const QString& path : PackFiles()) {
        const QString name = PackLanguageName(path);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

bool CMultiLanguage::SelectLanguage(const QString& name)
{
    currentLanguage = name.isEmpty() ? ReadLanguageSetting(settingsPath) : name;
    bool found = false;
    for (const QString& path : PackFiles()) {
        if (PackLanguageName(path) == currentLanguage) {
            packPath = path;
            pack = LanguagePack::Load(path);
            found = true;
            break;
        }
    }
    WriteLanguageSetting(settingsPath, currentLanguage);
    return found;
}

bool CMultiLanguage::ExtractPack(const EmbeddedPack& embedded) const
{
    QDir().mkpath(PackFolder());
    const QString path = QDir(PackFolder()).filePath(QLatin1String(embedded.fileName) + QStringLiteral(".ini"));
    QFile resource(QLatin1String(embedded.resource));
    if (!resource.open(QIODevice::ReadOnly)) {
        // Without its text the pack still names its language.
        return WriteLanguageSetting(path, QLatin1String(embedded.fileName));
    }
    const QByteArray bytes = resource.readAll();
    return WriteFileAtomically(path, bytes).ok;
}

QStringList CMultiLanguage::ListOrInstallLanguages()
{
    QStringList names = ListLanguages();
    if (!names.isEmpty())
        return names;
    for (const EmbeddedPack& embedded : EmbeddedPacks())
        ExtractPack(embedded);
    names = ListLanguages();
    SelectLanguage(kEnglish);
    return names;
}

QString CMultiLanguage::LookupText(const QString& section, const QString& key, const QString& fallback) const
{
    QString text = pack.Text(section, key).value_or(fallback);
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    return text;
}

QString CMultiLanguage::LookupText(const QString& key) const
{
    return LookupText(kSpecialStrings, key);
}

QString CMultiLanguage::WindowText(const QString& section, const QString& key) const
{
    return pack.Text(section, key).value_or(QString());
}
