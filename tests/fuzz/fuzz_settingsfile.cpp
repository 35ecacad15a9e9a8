// A Setting.ini as a user, an editor or another program may leave it: every
// key is read, one key is written into it as the options window writes one,
// and every key must read back as before but the one written, which must
// read back as written.
//
// Input: one byte choosing the key, the value up to a 0x01 byte, then the file.

#include "analyzer/settings/CodeTestSettings.h"
#include "analyzer/settings/LanguageSetting.h"
#include "analyzer/settings/ProfileFile.h"
#include "analyzer/settings/SettingsStore.h"
#include "fuzz/FuzzInput.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <optional>
#include <utility>
#include <vector>

namespace {

using Key = std::pair<QString, QString>; // section, key

const std::vector<Key> kAnalyzerKeys = {
    {"Trigger", "Mode"},      {"Trigger", "Minimum Pulse Width"}, {"Trigger", "Maximum Pulse Width"},
    {"Capture", "Mode"},      {"Format", "Prefix"},               {"Format", "Suffix"},
    {"Format", "Space Character"}, {"Format", "Format"},          {"Format", "Columns"},
    {"Analyze", "Enabled"},   {"Setting", "Language"},            {"Test", "Enabled"},
    {"Test", "Margins of error"}, {"Test", "Play Sound"},
};

// The analyzer's keys, and every section and key name the file seems to hold.
std::vector<Key> KeysToRead(const QByteArray& file)
{
    std::vector<Key> keys = kAnalyzerKeys;
    const QString text = file.startsWith("\xFF\xFE")
        ? QString::fromUtf16(reinterpret_cast<const char16_t*>(file.constData() + 2), (file.size() - 2) / 2)
        : QString::fromUtf8(file);
    QStringList sections, names;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\r\n]")))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']'))
            sections << trimmed.mid(1, trimmed.size() - 2).trimmed();
        else if (const qsizetype equals = line.indexOf(u'='); equals > 0)
            names << line.left(equals).trimmed();
    }
    for (int s = 0; s < std::min<qsizetype>(sections.size(), 16); ++s)
        for (int n = 0; n < std::min<qsizetype>(names.size(), 16); ++n)
            keys.emplace_back(sections[s], names[n]);
    return keys;
}

bool SameKey(const Key& a, const Key& b)
{
    return a.first.compare(b.first, Qt::CaseInsensitive) == 0 && a.second.compare(b.second, Qt::CaseInsensitive) == 0;
}

// What reading gives for a value written between quotes.
QString ReadBack(QString value)
{
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    if (value.size() > ProfileFile::kMaxValueLength) {
        qsizetype cut = ProfileFile::kMaxValueLength;
        if (value.at(cut - 1).isHighSurrogate() && value.at(cut).isLowSurrogate())
            --cut;
        value.truncate(cut);
    }
    return value;
}

// The store reads files by path; tmpfs keeps the atomic writes cheap.
const QString& ScratchFile()
{
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/wavix-fuzz-XXXXXX")
                                                       : QDir::tempPath() + QStringLiteral("/wavix-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("Setting.ini"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const Key written = kAnalyzerKeys[in.U8() % kAnalyzerKeys.size()];
    const QString value = in.Utf8(1200, '\x01');
    const QByteArray file = in.Rest();

    ProfileFile profile(file);
    const std::vector<Key> keys = KeysToRead(file);
    std::vector<std::optional<QString>> before;
    for (const Key& key : keys)
        before.push_back(profile.Value(key.first, key.second));

    profile.SetValue(written.first, written.second, u'"' + value + u'"');
    for (size_t i = 0; i < keys.size(); ++i) {
        const std::optional<QString> after = profile.Value(keys[i].first, keys[i].second);
        if (SameKey(keys[i], written))
            FuzzAssert(after == ReadBack(value));
        else
            FuzzAssert(after == before[i]);
    }

    // The same through the store, as the analyzer reads and writes the file.
    const QString& path = ScratchFile();
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    out.write(file);
    out.close();
    AnalyzerSettings settings;
    LoadTriggerSettings(path, settings);
    LoadOtherSettings(path, settings);
    LoadCodeTestSettings(path);
    ReadLanguageSetting(path);
    if (WriteSetting(path, written.first, written.second, value)) {
        QFile back(path);
        FuzzAssert(back.open(QIODevice::ReadOnly) && back.readAll() == profile.Bytes());
    }
    return 0;
}
