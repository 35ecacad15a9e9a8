// Finding, installing and selecting language packs, and reading them safely.
#include "TestFiles.h"
#include "analyzer/lang/LanguagePack.h"
#include "analyzer/lang/MultiLanguage.h"
#include "analyzer/settings/LanguageSetting.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Utf16LeWithBom(const QString& text)
{
    QByteArray units(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(text.utf16(), text.size(), units.data());
    return QByteArray("\xFF\xFE") + units;
}

QByteArray RandomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

} // namespace

class TestMultiLanguage : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;

    QString AppDir() const { return folder->path(); }
    QString SettingFile() const { return AppDir() + QStringLiteral("/Setting.ini"); }
    QString PackFile(const QString& name) const { return AppDir() + QStringLiteral("/Language/") + name; }
    void WritePack(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(AppDir() + QStringLiteral("/Language"));
        QVERIFY(WriteFile(PackFile(name), bytes));
    }
    static QStringList BuiltInNames()
    {
        return {QStringLiteral("English"), QStringLiteral("简体中文"), QStringLiteral("繁體中文")};
    }

private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

    void firstStartWritesThePacksAndTheSettings()
    {
        CMultiLanguage language(AppDir());
        QCOMPARE(ReadFile(SettingFile()), QByteArray("[Setting]\nLanguage=English\n"));
        QVERIFY(language.PackPath().isEmpty());
        QCOMPARE(language.LookupText(QStringLiteral("IDS_START")), QString()); // no pack yet

        QCOMPARE(language.ListOrInstallLanguages(), BuiltInNames());
        QCOMPARE(QDir(AppDir() + QStringLiteral("/Language")).entryList(QDir::Files),
                 (QStringList{"1.English.ini", "2.Simplified Chinese.ini", "3.Traditional Chinese.ini"}));
        QCOMPARE(language.CurrentLanguage(), QStringLiteral("English"));
        QCOMPARE(language.PackPath(), PackFile(QStringLiteral("1.English.ini")));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_START")), QStringLiteral("START"));
    }

    void aChoiceIsStoredAndRestored()
    {
        {
            CMultiLanguage language(AppDir());
            language.ListOrInstallLanguages();
            QVERIFY(language.SelectLanguage(QStringLiteral("简体中文")));
            QCOMPARE(language.LookupText(QStringLiteral("IDS_CHANNEL")), QStringLiteral("通道%d"));
        }
        QCOMPARE(ReadLanguageSetting(SettingFile()), QStringLiteral("简体中文"));
        CMultiLanguage again(AppDir());
        QCOMPARE(again.ListOrInstallLanguages(), BuiltInNames()); // nothing rewritten
        QCOMPARE(again.CurrentLanguage(), QStringLiteral("简体中文"));
        QCOMPARE(again.LookupText(QStringLiteral("IDS_START")), QStringLiteral("开始"));
    }

    void aDeletedPackFolderComesBackInEnglish()
    {
        {
            CMultiLanguage language(AppDir());
            language.ListOrInstallLanguages();
            language.SelectLanguage(QStringLiteral("简体中文"));
        }
        QVERIFY(QDir(AppDir() + QStringLiteral("/Language")).removeRecursively());
        CMultiLanguage language(AppDir());
        QCOMPARE(language.ListOrInstallLanguages(), BuiltInNames());
        QCOMPARE(language.CurrentLanguage(), QStringLiteral("English"));
        QCOMPARE(ReadLanguageSetting(SettingFile()), QStringLiteral("English"));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_STOP")), QStringLiteral("STOP"));
    }

    void existingPacksAreNeverOverwritten()
    {
        WritePack(QStringLiteral("1.English.ini"), "[Setting]\nLanguage=English\n[SPECIAL_STRING]\nIDS_START=Go\n");
        CMultiLanguage language(AppDir());
        QCOMPARE(language.ListOrInstallLanguages(), QStringList{QStringLiteral("English")});
        QCOMPARE(language.LookupText(QStringLiteral("IDS_START")), QStringLiteral("Go"));
    }

    // A user's UTF-8 pack with a few keys: listed after the built-in packs;
    // the keys it has are used, a missing composed text is empty.
    void aPartialUtf8PackIsUsed()
    {
        CMultiLanguage language(AppDir());
        language.ListOrInstallLanguages();
        WritePack(QStringLiteral("4.Deutsch.ini"),
                  "\xEF\xBB\xBF[Setting]\r\nLanguage=Deutsch\r\n[SPECIAL_STRING]\r\nIDS_START=Los \xE2\x80\x93 jetzt\r\n"
                  "[IDD_102]\r\nIDD_102_1015=Vergrößerung:\r\n");
        QCOMPARE(language.ListLanguages(), BuiltInNames() << QStringLiteral("Deutsch"));
        QVERIFY(language.SelectLanguage(QStringLiteral("Deutsch")));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_START")), QStringLiteral("Los – jetzt"));
        QCOMPARE(language.WindowText(QStringLiteral("IDD_102"), QStringLiteral("IDD_102_1015")), QStringLiteral("Vergrößerung:"));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_STOP")), QString());
        QCOMPARE(language.WindowText(QStringLiteral("IDD_102"), QStringLiteral("IDD_102_1014")), QString());
    }

    void theFirstOfTwoEqualNamesWins()
    {
        WritePack(QStringLiteral("b.ini"), "[Setting]\nLanguage=Twin\n[SPECIAL_STRING]\nIDS_START=second\n");
        // Within a pack too the first of equal keys and sections counts.
        WritePack(QStringLiteral("A.ini"), "[Setting]\nLanguage=Twin\n[SPECIAL_STRING]\nIDS_START=first\nids_start=again\n"
                                           "[special_string]\nIDS_STOP=late\n");
        CMultiLanguage language(AppDir());
        QCOMPARE(language.ListLanguages(), (QStringList{"Twin", "Twin"}));
        QVERIFY(language.SelectLanguage(QStringLiteral("Twin")));
        QCOMPARE(language.PackPath(), PackFile(QStringLiteral("A.ini")));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_START")), QStringLiteral("first"));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_STOP")), QString());
    }

    // File-name order with case ignored; only files named *.ini that hold a
    // language name count.
    void theFolderIsListedByFileName()
    {
        WritePack(QStringLiteral("c.INI"), "[Setting]\nLanguage=C\n");
        WritePack(QStringLiteral("B.ini"), "[setting]\nlanguage=\"B\"\n");
        WritePack(QStringLiteral("a.ini"), "[Setting]\nLanguage=A\n");
        WritePack(QStringLiteral("d.txt"), "[Setting]\nLanguage=D\n");
        WritePack(QStringLiteral("e.ini"), "[Setting]\nLanguage=\n");
        WritePack(QStringLiteral("f.ini"), "[Other]\nLanguage=F\n");
        QVERIFY(QDir().mkpath(PackFile(QStringLiteral("g.ini"))));
        QVERIFY(::mkfifo(QFile::encodeName(PackFile(QStringLiteral("h.ini"))).constData(), 0600) == 0);
        CMultiLanguage language(AppDir());
        QCOMPARE(language.ListLanguages(), (QStringList{"A", "B", "C"}));
    }

    void aStoredNameWithoutItsPackKeepsThePreviousPack()
    {
        CMultiLanguage language(AppDir());
        language.ListOrInstallLanguages();
        QVERIFY(!language.SelectLanguage(QStringLiteral("english"))); // names match with case
        QCOMPARE(language.CurrentLanguage(), QStringLiteral("english"));
        QCOMPARE(ReadLanguageSetting(SettingFile()), QStringLiteral("english"));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_START")), QStringLiteral("START"));

        CMultiLanguage restarted(AppDir());
        QVERIFY(restarted.PackPath().isEmpty());
        QCOMPARE(restarted.LookupText(QStringLiteral("IDS_START")), QString());
    }

    void anEmptyStoredNameMatchesNoPack()
    {
        CMultiLanguage(AppDir()).ListOrInstallLanguages();
        QVERIFY(WriteFile(SettingFile(), "[Setting]\nLanguage=\n"));
        CMultiLanguage language(AppDir());
        QCOMPARE(language.CurrentLanguage(), QString());
        QVERIFY(language.PackPath().isEmpty());
        QCOMPARE(ReadFile(SettingFile()), QByteArray("[Setting]\nLanguage=\n"));
    }

    // Backslash-n is a line break in composed texts only.
    void backslashNBreaksComposedTextsOnly()
    {
        WritePack(QStringLiteral("x.ini"),
                  "[Setting]\nLanguage=X\n[SPECIAL_STRING]\nIDS_DEVICE_NC=two\\nlines\n[IDD_102]\nIDD_102_1014=a\\nb\n");
        CMultiLanguage language(AppDir());
        language.SelectLanguage(QStringLiteral("X"));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_DEVICE_NC")), QStringLiteral("two\nlines"));
        QCOMPARE(language.WindowText(QStringLiteral("IDD_102"), QStringLiteral("IDD_102_1014")), QStringLiteral("a\\nb"));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_NONE")), QString());
        QCOMPARE(language.LookupText(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("x\\ny")), QStringLiteral("x\ny"));
    }

    // Storing the language touches its own line only, and replaces the file
    // as a whole: a reader never sees it half written.
    void storingTheLanguageKeepsTheRestOfSettingIni()
    {
        const QString before = QStringLiteral("; mine\r\n[Trigger]\r\nMode=\"Pulse\"\r\n\r\n[Setting]\r\n"
                                              "Language = English\r\nOther=1\r\n");
        QVERIFY(WriteFile(SettingFile(), Utf16LeWithBom(before)));
        QVERIFY(::link(QFile::encodeName(SettingFile()).constData(),
                       QFile::encodeName(AppDir() + QStringLiteral("/old.ini")).constData()) == 0);
        CMultiLanguage language(AppDir());
        language.ListOrInstallLanguages();
        language.SelectLanguage(QStringLiteral("繁體中文"));
        QString after = before;
        after.replace(QStringLiteral("Language = English"), QStringLiteral("Language = 繁體中文"));
        QCOMPARE(ReadFile(SettingFile()), Utf16LeWithBom(after));
        // Written through a new file: the old one is untouched.
        QCOMPARE(ReadFile(AppDir() + QStringLiteral("/old.ini")), Utf16LeWithBom(before));
    }

    void hostilePacksAreReadBounded()
    {
        // 10 MB of junk, with a name only past the first megabyte.
        QByteArray junk = RandomBytes(10 << 20, 1);
        junk.replace(3 << 20, 30, "\n[Setting]\nLanguage=Late\n     ");
        WritePack(QStringLiteral("1.junk.ini"), junk);
        WritePack(QStringLiteral("2.binary.ini"), RandomBytes(4096, 2));
        // UTF-16 without its byte-order mark is not read as text.
        WritePack(QStringLiteral("3.nobom.ini"), Utf16LeWithBom(QStringLiteral("[Setting]\r\nLanguage=NoBom\r\n")).mid(2));
        QByteArray crowded = "[Setting]\nLanguage=Crowded\n[IDD_102]\n";
        for (int i = 0; i < 10000; ++i)
            crowded += "IDD_102_" + QByteArray::number(i) + "=text " + QByteArray::number(i) + "\n";
        crowded += "[SPECIAL_STRING]\nIDS_START=" + QByteArray(5000, 'v') + "\n" + QByteArray(5000, 'k') + "=long key\n";
        WritePack(QStringLiteral("4.crowded.ini"), crowded);

        CMultiLanguage language(AppDir());
        QCOMPARE(language.ListLanguages(), QStringList{QStringLiteral("Crowded")});
        QVERIFY(language.SelectLanguage(QStringLiteral("Crowded")));
        QCOMPARE(language.WindowText(QStringLiteral("IDD_102"), QStringLiteral("IDD_102_9999")), QStringLiteral("text 9999"));
        QCOMPARE(language.LookupText(QStringLiteral("IDS_START")), QString(999, u'v'));
        QCOMPARE(language.LookupText(QStringLiteral("SPECIAL_STRING"), QString(5000, u'k')), QStringLiteral("long key"));
        QVERIFY(!language.SelectLanguage(QStringLiteral("Late")));
    }

    void namesAreReadUpTo99Characters()
    {
        WritePack(QStringLiteral("x.ini"), "[Setting]\nLanguage=" + QByteArray(150, 'n') + "\n");
        CMultiLanguage language(AppDir());
        const QString name(99, u'n');
        QCOMPARE(language.ListLanguages(), QStringList{name});
        QVERIFY(language.SelectLanguage(name));
    }
};

QTEST_GUILESS_MAIN(TestMultiLanguage)
#include "tst_multilanguage.moc"
