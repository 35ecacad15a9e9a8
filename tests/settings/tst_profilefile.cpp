#include "TestFiles.h"
#include "analyzer/settings/ProfileFile.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

QByteArray Utf16LeWithBom(const QString& text)
{
    QByteArray bytes("\xFF\xFE");
    QByteArray units(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(text.utf16(), text.size(), units.data());
    return bytes + units;
}

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

private slots:
    void readsValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("value");

        const QByteArray basic = "[Format]\nPrefix=\"0x \"\n";
        QTest::newRow("quotes removed, inner blank kept") << basic << "Format" << "Prefix" << true << "0x ";
        QTest::newRow("section and key ignore case") << basic << "FORMAT" << "prefix" << true << "0x ";
        QTest::newRow("missing key") << basic << "Format" << "Suffix" << false << "";
        QTest::newRow("missing section") << basic << "Trigger" << "Prefix" << false << "";
        QTest::newRow("blanks around key and value")
            << QByteArray("  [ Trigger ]  \n\t Mode  =  Rising Edge \t\n") << "Trigger" << "Mode" << true << "Rising Edge";
        QTest::newRow("two quotes are empty") << QByteArray("[A]\nk=\"\"\n") << "A" << "k" << true << "";
        QTest::newRow("one pair only") << QByteArray("[A]\nk=\"\"x\"\"\n") << "A" << "k" << true << "\"x\"";
        QTest::newRow("unbalanced quote kept") << QByteArray("[A]\nk=\"abc\n") << "A" << "k" << true << "\"abc";
        QTest::newRow("lone quote kept") << QByteArray("[A]\nk=\"\n") << "A" << "k" << true << "\"";
        QTest::newRow("first equals sign splits") << QByteArray("[A]\nk=a=b\n") << "A" << "k" << true << "a=b";
        QTest::newRow("line without equals is no key") << QByteArray("[A]\nk\n") << "A" << "k" << false << "";
        QTest::newRow("key before any section") << QByteArray("k=1\n[A]\n") << "A" << "k" << false << "";
        QTest::newRow("key of the next section") << QByteArray("[A]\n[B]\nk=1\n") << "A" << "k" << false << "";
        QTest::newRow("first of duplicate keys") << QByteArray("[A]\nk=1\nK=2\n") << "A" << "k" << true << "1";
        QTest::newRow("only the first section of a name")
            << QByteArray("[A]\nx=1\n[B]\n[a]\nk=2\n") << "A" << "k" << false << "";
        QTest::newRow("comment lines are skipped")
            << QByteArray(";k=1\n[A]\n; note\nk=2\n") << "A" << "k" << true << "2";
        QTest::newRow("CRLF line ends") << QByteArray("[A]\r\nk=1\r\nj=2\r\n") << "A" << "j" << true << "2";
        QTest::newRow("lone CR line ends") << QByteArray("[A]\rk=1\rj=2") << "A" << "j" << true << "2";
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[A]\nk=\xC3\xA9\n") << "A" << "k" << true << "é";
        // Only the file's first bytes are a byte-order mark; in a value U+FEFF is a character.
        QTest::newRow("U+FEFF leading a value")
            << QByteArray("\xEF\xBB\xBF[A]\nk=\xEF\xBB\xBFx\n") << "A" << "k" << true << QStringLiteral("\uFEFFx");
        QTest::newRow("U+FEFF leading a quoted value, no BOM")
            << QByteArray("[A]\nk=\"\xEF\xBB\xBF\"\n") << "A" << "k" << true << QStringLiteral("\uFEFF");
        QTest::newRow("UTF-16LE with BOM")
            << Utf16LeWithBom(QStringLiteral("[Setting]\r\nLanguage=简体中文\r\n")) << "Setting" << "Language" << true
            << "简体中文";
        QTest::newRow("no closing bracket opens no section")
            << QByteArray("[A]\n[B\nk=1\n") << "A" << "k" << true << "1";
    }

    void readsValues()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, present);
        QFETCH(QString, value);
        const std::optional<QString> read = ProfileFile(file).Value(section, key);
        QCOMPARE(read.has_value(), present);
        if (present)
            QCOMPARE(*read, value);
    }

    void cutsLongValues()
    {
        const QByteArray longValue(5000, 'v');
        const ProfileFile profile(QByteArray("[A]\nk=\"") + longValue + "\"\n");
        QCOMPARE(profile.Value("A", "k")->size(), 999);
        QCOMPARE(profile.Value("A", "k", 99)->size(), 99);

        // A pair of UTF-16 units is never split by the cut.
        const QString emoji = QStringLiteral("\U0001F600");
        const QString text = QString(998, u'a') + emoji;
        const ProfileFile pairs(QByteArray("[A]\nk=") + text.toUtf8() + "\n");
        QCOMPARE(*pairs.Value("A", "k"), QString(998, u'a'));
    }

    void writesInPlace_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        const QByteArray file = "; settings\n[Trigger]\nMode = \"Auto\" \nOther=1\n\n[Format]\nPrefix=\"\"\n\n; end\n";
        QTest::newRow("replace keeps key spelling and every other line")
            << file << "trigger" << "MODE" << "\"Pulse\""
            << QByteArray("; settings\n[Trigger]\nMode = \"Pulse\"\nOther=1\n\n[Format]\nPrefix=\"\"\n\n; end\n");
        QTest::newRow("new key goes after the section's last line")
            << file << "Trigger" << "Minimum Pulse Width" << "\"600\""
            << QByteArray("; settings\n[Trigger]\nMode = \"Auto\" \nOther=1\nMinimum Pulse Width=\"600\"\n\n"
                          "[Format]\nPrefix=\"\"\n\n; end\n");
        QTest::newRow("new section at the end after a blank line")
            << file << "Analyze" << "Enabled" << "\"FALSE\""
            << file + "\n[Analyze]\nEnabled=\"FALSE\"\n";
        QTest::newRow("empty file") << QByteArray() << "Setting" << "Language" << "English"
                                    << QByteArray("[Setting]\nLanguage=English\n");
        QTest::newRow("no line end at the end of the file")
            << QByteArray("[A]\nk=1") << "A" << "j" << "2" << QByteArray("[A]\nk=1\nj=2");
        QTest::newRow("new section after a last line without line end")
            << QByteArray("[A]\nk=1") << "B" << "j" << "2" << QByteArray("[A]\nk=1\n\n[B]\nj=2\n");
        QTest::newRow("CRLF file stays CRLF")
            << QByteArray("[A]\r\nk=1\r\n") << "B" << "j" << "2" << QByteArray("[A]\r\nk=1\r\n\r\n[B]\r\nj=2\r\n");
        QTest::newRow("empty section gets its key below the header")
            << QByteArray("[A]\n[B]\nk=1\n") << "A" << "j" << "2" << QByteArray("[A]\nj=2\n[B]\nk=1\n");
        QTest::newRow("line breaks in a value become blanks")
            << QByteArray("[A]\n") << "A" << "k" << "x\r\n[B]\ny" << QByteArray("[A]\nk=x  [B] y\n");
        QTest::newRow("empty value replaces") << QByteArray("[A]\nk=1\n") << "A" << "k" << "" << QByteArray("[A]\nk=\n");
    }

    void writesInPlace()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        ProfileFile profile(before);
        profile.SetValue(section, key, value);
        QCOMPARE(profile.Bytes(), after);
    }

    void keepsBytesItCannotDecode()
    {
        // Latin-1 text is not UTF-8; the lines around the write stay byte for byte.
        ProfileFile profile(QByteArray("; caf\xE9\n[A]\nk=1\n"));
        profile.SetValue("A", "k", "2");
        QCOMPARE(profile.Bytes(), QByteArray("; caf\xE9\n[A]\nk=2\n"));
    }

    void loadsAndSavesFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Setting.ini");
        QVERIFY(ProfileFile::Load(path).Bytes().isEmpty());

        ProfileFile profile = ProfileFile::Load(path);
        profile.SetValue("Setting", "Language", "English");
        QVERIFY(profile.Save(path));
        QCOMPARE(ReadFile(path), QByteArray("[Setting]\nLanguage=English\n"));

        // A folder in the file's place is neither read nor replaced.
        const QString folder = dir.filePath("folder.ini");
        QVERIFY(QDir().mkdir(folder));
        ProfileFile onFolder = ProfileFile::Load(folder);
        QVERIFY(!onFolder.IsComplete());
        onFolder.SetValue("A", "k", "1");
        QVERIFY(!onFolder.Save(folder));
        QVERIFY(QFileInfo(folder).isDir());

        // A path below a plain file cannot be created.
        QVERIFY(!profile.Save(dir.filePath("Setting.ini/inner.ini")));
        QCOMPARE(ReadFile(path), QByteArray("[Setting]\nLanguage=English\n"));
    }

    void survivesHostileFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QByteArray garbage(256 * 1024, Qt::Uninitialized);
        QRandomGenerator random(1234);
        random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
        QTest::newRow("random bytes") << garbage;
        QTest::newRow("random bytes after a UTF-16 mark") << QByteArray("\xFF\xFE") + garbage + "x";
        QTest::newRow("one 1 MB line") << QByteArray("[A]\nk=") + QByteArray(1 << 20, 'x');
        QTest::newRow("no line ends") << QByteArray(300000, '[') + "]=";
        QTest::newRow("5000-character value") << QByteArray("[A]\nk=") + QByteArray(5000, 'v');
        QTest::newRow("only line ends") << QByteArray(1 << 20, '\n');
        QTest::newRow("many keys") << QByteArray("[A]\n") + QByteArray("a=\"\"\r").repeated(200000);
        QTest::newRow("NUL bytes") << QByteArray("[A]\0\nk=\0\0\n", 10);
    }

    void survivesHostileFiles()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath("Setting.ini");
        QVERIFY(WriteFile(path, file));

        ProfileFile profile = ProfileFile::Load(path);
        QVERIFY(profile.Bytes().size() <= ProfileFile::kMaxFileBytes);
        const std::optional<QString> value = profile.Value("A", "k");
        QVERIFY(!value || value->size() <= ProfileFile::kMaxValueLength);
        QVERIFY(!profile.Value("Format", "Prefix"));

        profile.SetValue("Format", "Prefix", "\"0x\"");
        QCOMPARE(profile.Save(path), profile.IsComplete());
        const ProfileFile reloaded = ProfileFile::Load(path);
        // A write that pushes the file past the size limit lands in the unread tail.
        if (profile.IsComplete() && reloaded.IsComplete())
            QCOMPARE(reloaded.Value("Format", "Prefix").value_or("missing"), QStringLiteral("0x"));
    }

    void refusesToTruncateLargeFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Setting.ini");
        const QByteArray file = QByteArray("[A]\nk=1\n") + QByteArray(ProfileFile::kMaxFileBytes, ';');
        QVERIFY(WriteFile(path, file));

        ProfileFile profile = ProfileFile::Load(path);
        QVERIFY(!profile.IsComplete());
        QCOMPARE(*profile.Value("A", "k"), QStringLiteral("1"));
        profile.SetValue("A", "k", "2");
        QVERIFY(!profile.Save(path));
        QCOMPARE(ReadFile(path), file);
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
