// The three built-in packs as the program writes them: encoding, line ends,
// every key of the English pack in its order, complete translations that
// keep placeholders, shortcuts and access keys, and glyphs for every text.
#include "TestFiles.h"
#include "analyzer/lang/MultiLanguage.h"
#include "analyzer/lang/window/WindowTexts.h"

#include <QApplication>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QtTest>

namespace {

struct PackLine {
    QString section;
    QString key;
    QString value;
};

// The English pack, key by key in file order. Keys added later (the code
// file buttons and commands) close their sections, so older user packs only
// lack them.
const char* const kEnglish[][3] = {
    {"Setting", "Language", "English"},
    {"IDD_100", "IDD_100_Title", "About Wavix II"},
    {"IDD_100", "IDD_100_1", "OK"},
    {"IDD_102", "IDD_102_Title", "Wavix II - IR Logic Analyzer"},
    {"IDD_102", "IDD_102_1015", "Zoom:"},
    {"IDD_102", "IDD_102_1014", "Trigger:"},
    {"IDD_102", "IDD_102_1024", "SEND CH1"},
    {"IDD_102", "IDD_102_1025", "SEND CH2"},
    {"IDD_102", "IDD_102_1026", "SEND CH3"},
    {"IDD_102", "IDD_102_1027", "SEND CH4"},
    {"IDD_134", "IDD_134_Title", "Option"},
    {"IDD_134", "IDD_134_2", "Close"},
    {"IDD_135", "IDD_135_1", "OK"},
    {"IDD_135", "IDD_135_1020", "Trigger Mode:"},
    {"IDD_135", "IDD_135_1021", "Minimum Pulse Width(us):"},
    {"IDD_135", "IDD_135_1022", "Maximum Pulse Width(us):"},
    {"IDD_135", "IDD_135_1023", "Capture:"},
    {"IDD_136", "IDD_136_1", "OK"},
    {"IDD_136", "IDD_136_1026", "Prefix"},
    {"IDD_136", "IDD_136_1027", "Suffix"},
    {"IDD_136", "IDD_136_1031", "Space Character:"},
    {"IDD_136", "IDD_136_1032", "Format:"},
    {"IDD_136", "IDD_136_1034", "Columns:"},
    {"IDD_136", "IDD_136_1036", "Default"},
    {"IDD_137", "IDD_137_Title", "Vendor"},
    {"IDD_137", "IDD_137_1040", "Code Name:"},
    {"IDD_137", "IDD_137_1", "Add"},
    {"IDD_137", "IDD_137_1033", "Test"},
    {"IDD_137", "IDD_137_1039", "Setting"},
    {"IDD_137", "IDD_137_1038", "Save"},
    {"IDD_137", "IDD_137_1035", "Clear"},
    {"IDD_137", "IDD_137_1043", "Delete"},
    {"IDD_137", "IDD_137_1053", "Export"},
    {"IDD_137", "IDD_137_1054", "Import"},
    {"IDD_138", "IDD_138_Title", "Add"},
    {"IDD_138", "IDD_138_1", "OK"},
    {"IDD_138", "IDD_138_2", "Cancel"},
    {"IDD_138", "IDD_138_1041", "CH1"},
    {"IDD_138", "IDD_138_1042", "CH2"},
    {"IDD_138", "IDD_138_1043", "CH3"},
    {"IDD_138", "IDD_138_1044", "CH4"},
    {"IDD_140", "IDD_140_Title", "Rename"},
    {"IDD_140", "IDD_140_1", "OK"},
    {"IDD_141", "IDD_141_Title", "Test Setting"},
    {"IDD_141", "IDD_141_1", "OK"},
    {"IDD_141", "IDD_141_2", "Cancel"},
    {"IDD_141", "IDD_141_1047", "Margins of error:"},
    {"IDD_141", "IDD_141_1046", "Play Sound"},
    {"IDD_142", "IDD_142_1048", "Enabled"},
    {"MENU_131", "MENU_131_0", "File(&F)"},
    {"MENU_131", "MENU_131_32774", "&Load Data"},
    {"MENU_131", "MENU_131_32773", "Save &Data"},
    {"MENU_131", "MENU_131_0_3", "Save &Channel Data"},
    {"MENU_131", "MENU_131_32776", "Channel&1"},
    {"MENU_131", "MENU_131_32777", "Channel&2"},
    {"MENU_131", "MENU_131_32778", "Channel&3"},
    {"MENU_131", "MENU_131_32779", "Channel&4"},
    {"MENU_131", "MENU_131_32771", "E&xit"},
    {"MENU_131", "MENU_131_1", "Channel(&C)"},
    {"MENU_131", "MENU_131_32781", "Channel&1"},
    {"MENU_131", "MENU_131_32782", "Channel&2"},
    {"MENU_131", "MENU_131_32783", "Channel&3"},
    {"MENU_131", "MENU_131_32784", "Channel&4"},
    {"MENU_131", "MENU_131_32801", "Clear(&C)"},
    {"MENU_131", "MENU_131_2", "Operation(&O)"},
    {"MENU_131", "MENU_131_32786", "Vendor(&V)"},
    {"MENU_131", "MENU_131_3", "Setting(&S)"},
    {"MENU_131", "MENU_131_32785", "Option(&O)"},
    {"MENU_131", "MENU_131_4", "Language(&L)"},
    {"MENU_131", "MENU_131_5", "Help(&H)"},
    {"MENU_131", "MENU_131_32802", "Contents\tF1"},
    {"MENU_131", "MENU_131_32772", "About(&A)"},
    {"MENU_131", "MENU_131_32803", "&Import Code…"},
    {"MENU_131", "MENU_131_32804", "&Export Code…"},
    {"MENU_139", "MENU_139_32787", "Send(&S)"},
    {"MENU_139", "MENU_139_0_1", "Load To(&L)"},
    {"MENU_139", "MENU_139_32789", "CH&1"},
    {"MENU_139", "MENU_139_32790", "CH&2"},
    {"MENU_139", "MENU_139_32791", "CH&3"},
    {"MENU_139", "MENU_139_32792", "CH&4"},
    {"MENU_139", "MENU_139_32793", "Rename(&R)"},
    {"SPECIAL_STRING", "IDS_DEVICE_OK", "Device is connected!"},
    {"SPECIAL_STRING", "IDS_DEVICE_NC", "Device is not connected!"},
    {"SPECIAL_STRING", "IDS_CHANNEL", "Channel%d"},
    {"SPECIAL_STRING", "IDS_START", "START"},
    {"SPECIAL_STRING", "IDS_STOP", "STOP"},
    {"SPECIAL_STRING", "IDS_NUMBER", "Number"},
    {"SPECIAL_STRING", "IDS_NAME", "Name"},
    {"SPECIAL_STRING", "IDS_TRIGGER", "Trigger"},
    {"SPECIAL_STRING", "IDS_FORMAT", "Format"},
    {"SPECIAL_STRING", "IDS_ANALYZE", "Analyze"},
    {"SPECIAL_STRING", "IDS_TRIGGER_AUTO", "Auto."},
    {"SPECIAL_STRING", "IDS_TRIGGER_RISING_EDGE", "Rising Edge"},
    {"SPECIAL_STRING", "IDS_TRIGGER_FALLING_EDGE", "Falling Edge"},
    {"SPECIAL_STRING", "IDS_TRIGGER_PULSE", "Pulse"},
    {"SPECIAL_STRING", "IDS_TRIGGER_POSITIVE_PULSE", "Positive Pulse"},
    {"SPECIAL_STRING", "IDS_TRIGGER_NEGATIVE_PULSE", "Negative Pulse"},
    {"SPECIAL_STRING", "IDS_CAPTURE", "Capture"},
    {"SPECIAL_STRING", "IDS_CAPTURE_ONCE", "Once"},
    {"SPECIAL_STRING", "IDS_CAPTURE_NORMAL", "Normal"},
    {"SPECIAL_STRING", "IDS_CAPTURE_AUTO", "Auto."},
};

// The file as written, split by CR LF with its sections and keys; a line
// that is neither (apart from blank lines) fails the test.
QList<PackLine> ReadPackLines(const QString& text)
{
    QList<PackLine> lines;
    QString section;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0) {
            qWarning() << "not a key line:" << line;
            return {};
        }
        lines.append({section, line.left(equals), line.mid(equals + 1)});
    }
    return lines;
}

bool HasHanCharacter(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

// The access key of a caption ("E&xit" -> 'X'), or 0.
QChar AccessKey(const QString& caption)
{
    const qsizetype amp = caption.indexOf(u'&');
    return amp >= 0 && amp + 1 < caption.size() ? caption.at(amp + 1).toUpper() : QChar();
}

// What is wrong with drawing `text` in `font`: glyphs no font of the
// fallback list has, and Chinese drawn in a face other than WenQuanYi Micro Hei.
QString GlyphProblems(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) {
    }
    layout.endLayout();
    QString problems;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        if (run.glyphIndexes().contains(0u))
            problems += QStringLiteral("missing glyph; ");
        const QString family = run.rawFont().familyName();
        if (HasHanCharacter(text) && !family.startsWith(QLatin1String("Liberation"))
            && !family.startsWith(QLatin1String("DejaVu")) && family != QLatin1String("WenQuanYi Micro Hei"))
            problems += QStringLiteral("drawn in ") + family + QStringLiteral("; ");
    }
    return problems;
}

} // namespace

class TestBuiltInPacks : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<CMultiLanguage> language;

    QString PackText(const QString& fileName)
    {
        const QByteArray bytes = ReadFile(language->PackFolder() + u'/' + fileName);
        auto decode = QStringDecoder(QStringDecoder::Utf16LE);
        const QString text = decode(bytes.mid(2));
        return decode.hasError() ? QString() : text;
    }

private slots:
    void initTestCase()
    {
        language = std::make_unique<CMultiLanguage>(folder.path());
        QCOMPARE(language->ListOrInstallLanguages(),
                 (QStringList{QStringLiteral("English"), QStringLiteral("简体中文"), QStringLiteral("繁體中文")}));
    }

    void files_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("name");
        QTest::newRow("English") << "1.English.ini" << "English";
        QTest::newRow("Simplified Chinese") << "2.Simplified Chinese.ini" << "简体中文";
        QTest::newRow("Traditional Chinese") << "3.Traditional Chinese.ini" << "繁體中文";
    }

    void areUtf16WithBomAndCrLf()
    {
        QFETCH(QString, fileName);
        const QByteArray bytes = ReadFile(language->PackFolder() + u'/' + fileName);
        QVERIFY(bytes.startsWith("\xFF\xFE"));
        QCOMPARE(bytes.size() % 2, 0);
        const QString text = PackText(fileName);
        QVERIFY2(!text.isEmpty(), "not clean UTF-16LE");
        QVERIFY(text.endsWith(QStringLiteral("\r\n")));
        // No line end but CR LF: every CR is followed by LF and every LF follows a CR.
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == u'\r')
                QVERIFY2(i + 1 < text.size() && text.at(i + 1) == u'\n', qPrintable(QString::number(i)));
            if (text.at(i) == u'\n')
                QVERIFY2(i > 0 && text.at(i - 1) == u'\r', qPrintable(QString::number(i)));
        }
    }
    void areUtf16WithBomAndCrLf_data() { files_data(); }

    void holdEveryKeyInOrder()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, name);
        const QList<PackLine> lines = ReadPackLines(PackText(fileName));
        QCOMPARE(lines.size(), qsizetype(std::size(kEnglish)));
        QSet<QString> sections;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const PackLine& line = lines.at(i);
            QCOMPARE(line.section, QLatin1String(kEnglish[i][0]));
            QCOMPARE(line.key, QLatin1String(kEnglish[i][1]));
            QVERIFY2(!line.value.trimmed().isEmpty(), qPrintable(line.key));
            sections.insert(line.section);
        }
        QCOMPARE(sections.size(), 14);
        QCOMPARE(lines.first().value, name);
    }
    void holdEveryKeyInOrder_data() { files_data(); }

    void englishTextsAreTheProgramsOwn()
    {
        const QList<PackLine> lines = ReadPackLines(PackText(QStringLiteral("1.English.ini")));
        QCOMPARE(lines.size(), qsizetype(std::size(kEnglish)));
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i).value, QString::fromUtf8(kEnglish[i][2]));
    }

    // Every text translated; placeholders, the shortcut column and the
    // access keys survive translation.
    void chineseTranslationsAreComplete()
    {
        QFETCH(QString, fileName);
        const QList<PackLine> lines = ReadPackLines(PackText(fileName));
        QCOMPARE(lines.size(), qsizetype(std::size(kEnglish)));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString english = QString::fromUtf8(kEnglish[i][2]);
            const QString& chinese = lines.at(i).value;
            const QByteArray key = lines.at(i).key.toUtf8();
            QVERIFY2(HasHanCharacter(chinese), key);
            QCOMPARE(chinese.count(QStringLiteral("%d")), english.count(QStringLiteral("%d")));
            QCOMPARE(chinese.section(u'\t', 1), english.section(u'\t', 1));
            QVERIFY2(AccessKey(chinese) == AccessKey(english), key);
            QVERIFY2(!chinese.contains(QStringLiteral("\\n")), key);
        }
    }
    void chineseTranslationsAreComplete_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("Simplified Chinese") << "2.Simplified Chinese.ini";
        QTest::newRow("Traditional Chinese") << "3.Traditional Chinese.ini";
    }

    // WenQuanYi Micro Hei (installed by the set-up script) draws what the
    // default face cannot.
    void everyTextHasItsGlyphs()
    {
        QFETCH(QString, fileName);
        UseChineseFallbackFont();
        for (const PackLine& line : ReadPackLines(PackText(fileName))) {
            QString visible = line.value;
            visible.remove(u'&').replace(u'\t', u' ');
            QCOMPARE(GlyphProblems(visible, QApplication::font()), QString());
        }
        // The check sees a glyph that no installed font has.
        QVERIFY(!GlyphProblems(QString::fromUcs4(U"\U00013000"), QApplication::font()).isEmpty());
    }
    void everyTextHasItsGlyphs_data() { files_data(); }
};

QTEST_MAIN(TestBuiltInPacks)
#include "tst_builtinpacks.moc"
