#include "analyzer/settings/LanguageSetting.h"

#include "analyzer/settings/ProfileFile.h"

namespace {
const QString kSection = QStringLiteral("Setting");
const QString kKey = QStringLiteral("Language");
} // namespace

QString ReadLanguageSetting(const QString& iniPath)
{
    return ProfileFile::Load(iniPath).Value(kSection, kKey).value_or(QStringLiteral("English"));
}

bool WriteLanguageSetting(const QString& iniPath, const QString& language)
{
    ProfileFile profile = ProfileFile::Load(iniPath);
    profile.SetValue(kSection, kKey, language);
    return profile.Save(iniPath);
}
