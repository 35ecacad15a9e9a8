#include "TestFiles.h"
#include "analyzer/settings/CodeTestSettings.h"
#include "analyzer/settings/LanguageSetting.h"
#include "analyzer/settings/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>

namespace {

AnalyzerSettings LoadAll(const QString& path)
{
    AnalyzerSettings settings;
    // Start from values unlike every default, so that a default that is
    // not applied shows.
    settings.triggerMode = TriggerMode::NegativePulse;
    settings.minPulseWidth = settings.maxPulseWidth = -1;
    settings.captureMode = CaptureMode::Once;
    settings.prefix = settings.suffix = settings.spaceCharacter = settings.format = QStringLiteral("?");
    settings.columns = -1;
    settings.analyzeEnabled = false;
    LoadTriggerSettings(path, settings);
    LoadOtherSettings(path, settings);
    return settings;
}

void CompareWithDefaults(const AnalyzerSettings& settings)
{
    const AnalyzerSettings defaults;
    QCOMPARE(settings.triggerMode, defaults.triggerMode);
    QCOMPARE(settings.minPulseWidth, defaults.minPulseWidth);
    QCOMPARE(settings.maxPulseWidth, defaults.maxPulseWidth);
    QCOMPARE(settings.captureMode, defaults.captureMode);
    QCOMPARE(settings.prefix, defaults.prefix);
    QCOMPARE(settings.suffix, defaults.suffix);
    QCOMPARE(settings.spaceCharacter, defaults.spaceCharacter);
    QCOMPARE(settings.format, defaults.format);
    QCOMPARE(settings.columns, defaults.columns);
    QCOMPARE(settings.analyzeEnabled, defaults.analyzeEnabled);
}

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString Path() const { return dir.filePath("Setting.ini"); }

private slots:
    void init() { QFile::remove(Path()); }

    void everyKeyRoundTrips_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("trigger mode") << "Trigger" << "Mode" << "Negative Pulse";
        QTest::newRow("minimum width") << "Trigger" << "Minimum Pulse Width" << "600";
        QTest::newRow("maximum width") << "Trigger" << "Maximum Pulse Width" << "-1201";
        QTest::newRow("capture mode") << "Capture" << "Mode" << "Normal";
        QTest::newRow("prefix with trailing blank") << "Format" << "Prefix" << "0x ";
        QTest::newRow("suffix with quotes inside") << "Format" << "Suffix" << "\"end\"";
        QTest::newRow("space character") << "Format" << "Space Character" << " ";
        QTest::newRow("format") << "Format" << "Format" << "[INDEX]:[LEVEL]%d\\n";
        QTest::newRow("columns as typed") << "Format" << "Columns" << "12abc";
        QTest::newRow("analyze") << "Analyze" << "Enabled" << "FALSE";
        QTest::newRow("test enabled") << "Test" << "Enabled" << "TRUE";
        QTest::newRow("margins") << "Test" << "Margins of error" << "35";
        QTest::newRow("play sound") << "Test" << "Play Sound" << "FALSE";
    }

    void everyKeyRoundTrips()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        WriteSetting(Path(), QStringLiteral("Setting"), QStringLiteral("Language"), QStringLiteral("English"));
        QVERIFY(WriteSetting(Path(), section, key, QStringLiteral("old")));
        QVERIFY(WriteSetting(Path(), section, key, value));
        QCOMPARE(ReadSetting(Path(), section, key, QStringLiteral("default")), value);
        // Stored enclosed in quotes, once.
        QVERIFY(ReadFile(Path()).contains((key + "=\"" + value + "\"\n").toUtf8()));
        QCOMPARE(ReadFile(Path()).count(key.toUtf8() + '='), 1);
    }

    void loadsWhatThePagesSave()
    {
        AnalyzerSettings saved;
        saved.triggerMode = TriggerMode::PositivePulse;
        saved.minPulseWidth = 600;
        saved.maxPulseWidth = 1201;
        saved.captureMode = CaptureMode::Normal;
        saved.prefix = QStringLiteral("0x ");
        saved.suffix = QStringLiteral(";");
        saved.spaceCharacter = QStringLiteral(" ");
        saved.format = QStringLiteral("%d");
        QVERIFY(SaveTriggerSettings(Path(), saved));
        QVERIFY(SaveFormatSettings(Path(), saved, QStringLiteral("12abc")));
        QVERIFY(WriteAnalyzeEnabled(Path(), false));

        const AnalyzerSettings loaded = LoadAll(Path());
        QCOMPARE(loaded.triggerMode, saved.triggerMode);
        QCOMPARE(loaded.minPulseWidth, 600);
        QCOMPARE(loaded.maxPulseWidth, 1201);
        QCOMPARE(loaded.captureMode, saved.captureMode);
        QCOMPARE(loaded.prefix, saved.prefix);
        QCOMPARE(loaded.suffix, saved.suffix);
        QCOMPARE(loaded.spaceCharacter, saved.spaceCharacter);
        QCOMPARE(loaded.format, saved.format);
        QCOMPARE(loaded.columns, 12);
        QCOMPARE(loaded.analyzeEnabled, false);

        // Cleared format fields come back as their defaults.
        AnalyzerSettings cleared;
        cleared.prefix = cleared.suffix = cleared.spaceCharacter = cleared.format = QString();
        QVERIFY(SaveFormatSettings(Path(), cleared, QString()));
        QVERIFY(WriteAnalyzeEnabled(Path(), true));
        QVERIFY(ReadFile(Path()).contains("Space Character=\"\"\n"));
        const AnalyzerSettings reloaded = LoadAll(Path());
        QCOMPARE(reloaded.prefix, QString());
        QCOMPARE(reloaded.spaceCharacter, QStringLiteral(", "));
        QCOMPARE(reloaded.format, QStringLiteral("%05X"));
        QCOMPARE(reloaded.columns, 16);
        QCOMPARE(reloaded.analyzeEnabled, true);
    }

    void missingFileGivesDefaults()
    {
        CompareWithDefaults(LoadAll(Path()));
        const CodeTestSettings test = LoadCodeTestSettings(Path());
        QCOMPARE(test.enabled, false);
        QCOMPARE(test.marginsOfError, 20);
        QCOMPARE(test.playSound, true);
        QCOMPARE(ReadLanguageSetting(Path()), QStringLiteral("English"));
    }

    void parsesModes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("trigger");
        QTest::addColumn<int>("capture");
        QTest::newRow("lower case") << "rising edge" << 1 << 2;
        QTest::newRow("mixed case") << "Negative PULSE" << 5 << 2;
        QTest::newRow("hyphen is no match") << "rising-edge" << 0 << 2;
        QTest::newRow("blank is no match") << "Pulse " << 0 << 2;
        QTest::newRow("once") << "once" << 0 << 0;
        QTest::newRow("normal") << "NORMAL" << 0 << 1;
        QTest::newRow("no letter folding beyond ASCII") << QString::fromUtf8("r\xC4\xB1sing edge") << 0 << 2;
        QTest::newRow("empty") << "" << 0 << 2;
    }

    void parsesModes()
    {
        QFETCH(QString, text);
        QFETCH(int, trigger);
        QFETCH(int, capture);
        QCOMPARE(static_cast<int>(ParseTriggerMode(text)), trigger);
        QCOMPARE(static_cast<int>(ParseCaptureMode(text)), capture);
    }

    void parsesDecimals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << "16" << 16;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("digits then letters") << "12abc" << 12;
        QTest::newRow("negative") << "-600" << -600;
        QTest::newRow("leading blank") << " 7" << 7;
        QTest::newRow("sign only") << "-" << 0;
        QTest::newRow("too large") << "99999999999999999999" << INT_MAX;
        QTest::newRow("too small") << "-99999999999999999999" << INT_MIN;
        QTest::newRow("smallest int") << "-2147483648" << INT_MIN;
        QTest::newRow("hex is not read") << "0x10" << 0;
    }

    void parsesDecimals()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(ParseLeadingDecimal(text), value);
    }

    void analysisOffOnlyForExactFalse_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("FALSE") << QByteArray("\"FALSE\"") << false;
        QTest::newRow("unquoted FALSE") << QByteArray("FALSE") << false;
        QTest::newRow("false") << QByteArray("\"false\"") << true;
        QTest::newRow("0") << QByteArray("0") << true;
        QTest::newRow("empty") << QByteArray("\"\"") << true;
    }

    void analysisOffOnlyForExactFalse()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, enabled);
        QVERIFY(WriteFile(Path(), "[analyze]\r\nenabled=" + stored + "\r\n"));
        QCOMPARE(LoadAll(Path()).analyzeEnabled, enabled);
    }

    void readsTestSettings_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("margin");
        QTest::addColumn<bool>("playSound");
        QTest::newRow("written values") << QByteArray("Enabled=\"true\"\nMargins of error=\"50\"\nPlay Sound=\"FALSE\"\n")
                                        << true << 50 << false;
        QTest::newRow("zero margin") << QByteArray("Margins of error=\"0\"\n") << false << 1 << true;
        QTest::newRow("margin too large") << QByteArray("Margins of error=\"99\"\n") << false << 1 << true;
        QTest::newRow("margin not a number") << QByteArray("Margins of error=\"abc\"\n") << false << 1 << true;
        QTest::newRow("empty values") << QByteArray("Enabled=\"\"\nMargins of error=\nPlay Sound=\"\"\n")
                                      << false << 20 << true;
        QTest::newRow("other texts are off") << QByteArray("Enabled=yes\nPlay Sound=1\n") << false << 20 << false;
    }

    void readsTestSettings()
    {
        QFETCH(QByteArray, section);
        QFETCH(bool, enabled);
        QFETCH(int, margin);
        QFETCH(bool, playSound);
        QVERIFY(WriteFile(Path(), "[Test]\n" + section));
        const CodeTestSettings test = LoadCodeTestSettings(Path());
        QCOMPARE(test.enabled, enabled);
        QCOMPARE(test.marginsOfError, margin);
        QCOMPARE(test.playSound, playSound);
    }

    void writesTestSettings()
    {
        QVERIFY(WriteTestEnabled(Path(), true));
        QVERIFY(WriteTestMarginsOfError(Path(), 7));
        QVERIFY(WriteTestPlaySound(Path(), false));
        const CodeTestSettings test = LoadCodeTestSettings(Path());
        QCOMPARE(test.enabled, true);
        QCOMPARE(test.marginsOfError, 7);
        QCOMPARE(test.playSound, false);
    }

    void languageIsUnquoted()
    {
        QVERIFY(WriteLanguageSetting(Path(), QStringLiteral("简体中文")));
        QCOMPARE(ReadFile(Path()), QStringLiteral("[Setting]\nLanguage=简体中文\n").toUtf8());
        QCOMPARE(ReadLanguageSetting(Path()), QStringLiteral("简体中文"));
        // An empty name stays empty: the default stands in only for a missing key.
        QVERIFY(WriteLanguageSetting(Path(), QString()));
        QCOMPARE(ReadLanguageSetting(Path()), QString());
    }

    void keepsUtf16File()
    {
        const auto utf16 = [](const QString& text) {
            QByteArray bytes("\xFF\xFE");
            for (const QChar c : text) {
                bytes.append(static_cast<char>(c.unicode() & 0xFF));
                bytes.append(static_cast<char>(c.unicode() >> 8));
            }
            return bytes;
        };
        const QString text = QStringLiteral("; 註\r\n[Setting]\r\nLanguage=繁體中文\r\n\r\n[Format]\r\nPrefix=\"前\"\r\n\r\n[X]\r\n");
        QVERIFY(WriteFile(Path(), utf16(text)));
        QVERIFY(WriteSetting(Path(), "format", "SUFFIX", "後"));
        QCOMPARE(ReadFile(Path()), utf16(QString(text).replace(QStringLiteral("\"前\"\r\n"),
                                                               QStringLiteral("\"前\"\r\nSUFFIX=\"後\"\r\n"))));
        QCOMPARE(ReadLanguageSetting(Path()), QStringLiteral("繁體中文"));
        QCOMPARE(ReadSetting(Path(), "Format", "Suffix", ""), QStringLiteral("後"));
    }

    void findsTheFileWhateverItsCase()
    {
        QTemporaryDir folder;
        QCOMPARE(SettingsFilePath(folder.path()), folder.filePath("Setting.ini"));
        QVERIFY(WriteFile(folder.filePath("SETTING.ini"), "[Setting]\nLanguage=English\n"));
        QCOMPARE(SettingsFilePath(folder.path()), folder.filePath("SETTING.ini"));
        QVERIFY(WriteFile(folder.filePath("Setting.ini"), ""));
        QCOMPARE(SettingsFilePath(folder.path()), folder.filePath("Setting.ini"));
    }

};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
