#include "analyzer/lang/LanguagePack.h"

#include "analyzer/settings/ProfileFile.h"

namespace {

const QString kSettingSection = QStringLiteral("Setting");
const QString kLanguageKey = QStringLiteral("Language");

// A line break cannot occur in a section or key name, so it separates them.
QString TextKey(const QString& section, const QString& key)
{
    return section.toCaseFolded() + u'\n' + key.toCaseFolded();
}

} // namespace

LanguagePack LanguagePack::Parse(const QByteArray& fileBytes)
{
    LanguagePack pack;
    ProfileFile(fileBytes).ForEachValue([&pack](const QString& section, const QString& key, const QString& value) {
        const QString textKey = TextKey(section, key);
        if (!pack.texts.contains(textKey)) // the first of equal keys counts
            pack.texts.insert(textKey, value);
    });
    return pack;
}

LanguagePack LanguagePack::Load(const QString& path)
{
    const ProfileFile profile = ProfileFile::Load(path);
    return Parse(profile.Bytes());
}

std::optional<QString> LanguagePack::Text(const QString& section, const QString& key) const
{
    const auto found = texts.constFind(TextKey(section, key));
    if (found == texts.constEnd())
        return std::nullopt;
    return *found;
}

QString PackLanguageName(const QString& path)
{
    return ProfileFile::Load(path).Value(kSettingSection, kLanguageKey, LanguagePack::kMaxNameLength).value_or(QString());
}
