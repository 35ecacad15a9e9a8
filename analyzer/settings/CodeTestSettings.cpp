#include "analyzer/settings/CodeTestSettings.h"

#include "analyzer/settings/SettingsStore.h"

namespace {

const QString kSection = QStringLiteral("Test");
const QString kEnabledKey = QStringLiteral("Enabled");
const QString kMarginsKey = QStringLiteral("Margins of error");
const QString kPlaySoundKey = QStringLiteral("Play Sound");

bool IsTrue(const QString& text)
{
    return text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
}

QString BoolText(bool on)
{
    return on ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

} // namespace

CodeTestSettings LoadCodeTestSettings(const QString& iniPath)
{
    CodeTestSettings test;
    test.enabled = IsTrue(ReadSetting(iniPath, kSection, kEnabledKey, QStringLiteral("FALSE")));
    const int margin = ParseLeadingDecimal(ReadSetting(iniPath, kSection, kMarginsKey, QStringLiteral("20")));
    test.marginsOfError = margin < 1 || margin > 50 ? 1 : margin;
    test.playSound = IsTrue(ReadSetting(iniPath, kSection, kPlaySoundKey, QStringLiteral("TRUE")));
    return test;
}

bool WriteTestEnabled(const QString& iniPath, bool enabled)
{
    return WriteSetting(iniPath, kSection, kEnabledKey, BoolText(enabled));
}

bool WriteTestMarginsOfError(const QString& iniPath, int percent)
{
    return WriteSetting(iniPath, kSection, kMarginsKey, QString::number(percent));
}

bool WriteTestPlaySound(const QString& iniPath, bool playSound)
{
    return WriteSetting(iniPath, kSection, kPlaySoundKey, BoolText(playSound));
}
