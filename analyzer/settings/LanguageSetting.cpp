#include "analyzer/settings/LanguageSetting.h"

#include "analyzer/settings/ProfileFile.h"

#include <QFileInfo>

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
    // The name is stored at every start; an unchanged file is not rewritten.
    if (profile.IsComplete() && QFileInfo::exists(iniPath) && profile.Value(kSection, kKey) == language)
        return true;
    profile.SetValue(kSection, kKey, language);
    return profile.Save(iniPath);
}
