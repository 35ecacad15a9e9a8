#include "analyzer/settings/SettingsStore.h"

#include "analyzer/settings/ProfileFile.h"

#include <QDir>

#include <climits>

namespace {

const QString kSettingsFileName = QStringLiteral("Setting.ini");

// The setting texts are compared after upper-casing the ASCII letters only,
// so that no locale rule can turn some other letter into a match.
QString AsciiUpper(const QString& text)
{
    QString upper = text;
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return upper;
}

QString SettingValue(const ProfileFile& profile, const QString& section, const QString& key, const QString& fallback)
{
    const std::optional<QString> value = profile.Value(section, key);
    if (!value || value->isEmpty())
        return fallback;
    return *value;
}

const QString kTriggerTexts[kTriggerModeCount] = {
    QStringLiteral("Auto"),  QStringLiteral("Rising Edge"),    QStringLiteral("Falling Edge"),
    QStringLiteral("Pulse"), QStringLiteral("Positive Pulse"), QStringLiteral("Negative Pulse"),
};
const QString kCaptureTexts[kCaptureModeCount] = {
    QStringLiteral("Once"),
    QStringLiteral("Normal"),
    QStringLiteral("Auto"),
};

} // namespace

QString SettingsFilePath(const QString& appDirectory)
{
    const QDir folder(appDirectory);
    if (!folder.exists(kSettingsFileName)) {
        // Name filters ignore case, so "setting.ini" or "SETTING.INI" is found.
        const QStringList matches =
            folder.entryList({kSettingsFileName}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        if (!matches.isEmpty())
            return folder.filePath(matches.first());
    }
    return folder.filePath(kSettingsFileName);
}

QString ReadSetting(const QString& iniPath, const QString& section, const QString& key, const QString& fallback)
{
    return SettingValue(ProfileFile::Load(iniPath), section, key, fallback);
}

bool WriteSetting(const QString& iniPath, const QString& section, const QString& key, const QString& value)
{
    ProfileFile profile = ProfileFile::Load(iniPath);
    profile.SetValue(section, key, u'"' + value + u'"');
    return profile.Save(iniPath);
}

TriggerMode ParseTriggerMode(const QString& text)
{
    const QString upper = AsciiUpper(text);
    for (int mode = 0; mode < kTriggerModeCount; ++mode) {
        if (upper == AsciiUpper(kTriggerTexts[mode]))
            return static_cast<TriggerMode>(mode);
    }
    return TriggerMode::Auto;
}

CaptureMode ParseCaptureMode(const QString& text)
{
    const QString upper = AsciiUpper(text);
    if (upper == QLatin1String("ONCE"))
        return CaptureMode::Once;
    if (upper == QLatin1String("NORMAL"))
        return CaptureMode::Normal;
    return CaptureMode::Auto;
}

int ParseLeadingDecimal(const QString& text)
{
    // Like the C runtime's integer parse: leading blanks, an optional sign,
    // then digits; the result saturates instead of overflowing.
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text.at(i).unicode() - u'0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

QString TriggerModeSettingText(TriggerMode mode)
{
    const int index = static_cast<int>(mode);
    return index >= 0 && index < kTriggerModeCount ? kTriggerTexts[index] : QString();
}

QString CaptureModeSettingText(CaptureMode mode)
{
    const int index = static_cast<int>(mode);
    return index >= 0 && index < kCaptureModeCount ? kCaptureTexts[index] : QString();
}

void LoadTriggerSettings(const QString& iniPath, AnalyzerSettings& settings)
{
    const ProfileFile profile = ProfileFile::Load(iniPath);
    const QString trigger = QStringLiteral("Trigger");
    settings.triggerMode = ParseTriggerMode(SettingValue(profile, trigger, QStringLiteral("Mode"), QStringLiteral("Auto")));
    settings.minPulseWidth =
        ParseLeadingDecimal(SettingValue(profile, trigger, QStringLiteral("Minimum Pulse Width"), QStringLiteral("0")));
    settings.maxPulseWidth =
        ParseLeadingDecimal(SettingValue(profile, trigger, QStringLiteral("Maximum Pulse Width"), QStringLiteral("0")));
}

void LoadOtherSettings(const QString& iniPath, AnalyzerSettings& settings)
{
    const ProfileFile profile = ProfileFile::Load(iniPath);
    const QString format = QStringLiteral("Format");
    settings.captureMode =
        ParseCaptureMode(SettingValue(profile, QStringLiteral("Capture"), QStringLiteral("Mode"), QStringLiteral("Auto")));
    settings.prefix = SettingValue(profile, format, QStringLiteral("Prefix"), QString());
    settings.suffix = SettingValue(profile, format, QStringLiteral("Suffix"), QString());
    settings.spaceCharacter = SettingValue(profile, format, QStringLiteral("Space Character"), QStringLiteral(", "));
    settings.format = SettingValue(profile, format, QStringLiteral("Format"), QStringLiteral("%05X"));
    settings.columns = ParseLeadingDecimal(SettingValue(profile, format, QStringLiteral("Columns"), QStringLiteral("16")));
    // Only the exact text turns analysis off.
    settings.analyzeEnabled =
        SettingValue(profile, QStringLiteral("Analyze"), QStringLiteral("Enabled"), QStringLiteral("TRUE")) !=
        QLatin1String("FALSE");
}

bool SaveTriggerSettings(const QString& iniPath, const AnalyzerSettings& settings)
{
    const QString trigger = QStringLiteral("Trigger");
    bool ok = true;
    const QString modeText = TriggerModeSettingText(settings.triggerMode);
    if (!modeText.isEmpty())
        ok &= WriteSetting(iniPath, trigger, QStringLiteral("Mode"), modeText);
    ok &= WriteSetting(iniPath, trigger, QStringLiteral("Minimum Pulse Width"), QString::number(settings.minPulseWidth));
    ok &= WriteSetting(iniPath, trigger, QStringLiteral("Maximum Pulse Width"), QString::number(settings.maxPulseWidth));
    const QString captureText = CaptureModeSettingText(settings.captureMode);
    if (!captureText.isEmpty())
        ok &= WriteSetting(iniPath, QStringLiteral("Capture"), QStringLiteral("Mode"), captureText);
    return ok;
}

bool SaveFormatSettings(const QString& iniPath, const AnalyzerSettings& settings, const QString& columnsText)
{
    const QString format = QStringLiteral("Format");
    bool ok = true;
    ok &= WriteSetting(iniPath, format, QStringLiteral("Prefix"), settings.prefix);
    ok &= WriteSetting(iniPath, format, QStringLiteral("Suffix"), settings.suffix);
    ok &= WriteSetting(iniPath, format, QStringLiteral("Space Character"), settings.spaceCharacter);
    ok &= WriteSetting(iniPath, format, QStringLiteral("Format"), settings.format);
    ok &= WriteSetting(iniPath, format, QStringLiteral("Columns"), columnsText);
    return ok;
}

bool WriteAnalyzeEnabled(const QString& iniPath, bool enabled)
{
    return WriteSetting(iniPath, QStringLiteral("Analyze"), QStringLiteral("Enabled"),
                        enabled ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}
