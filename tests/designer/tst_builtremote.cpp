// The design a built remote carries: its bytes, reading it back from honest
// and hostile files, and writing the built remote safely.
#include "TestFiles.h"
#include "designer/BuiltRemote.h"
#include "designer/KeyTypes.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <csignal>
#include <unistd.h>

using built::ButtonRecord;

namespace {

const QChar kCr(0x0D);
const QChar kLf(0x0A);

ButtonRecord Record(int keyType, DesignRect rect, const QString& caption, int firstPulse = 0)
{
    ButtonRecord record;
    record.keyType = keyType;
    record.rect = rect;
    record.caption = caption;
    if (firstPulse) {
        record.code[0] = 1;
        for (int i = 1; i <= 10; ++i)
            record.code[i] = firstPulse + i;
    }
    return record;
}

std::optional<built::Design> Read(const QByteArray& file)
{
    QByteArray bytes = file;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return built::ReadDesign(buffer);
}

QByteArray Le32(qint32 value)
{
    QByteArray bytes(4, 0);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A program part and a design of `buttons` behind it.
QByteArray BuiltFile(const QByteArray& program, const std::vector<ButtonRecord>& buttons, qint32 body = 2)
{
    return program + built::EncodeDesign(buttons, qint32(program.size()), body);
}

QByteArray FakeProgram()
{
    QByteArray program("\x7f" "ELF-not-really", 15);
    return program.repeated(100);
}

} // namespace

class TestBuiltRemote : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void powerButtonCaptionedOnAppends8220Bytes()
    {
        const QByteArray program = FakeProgram();
        ButtonRecord power = Record(keys::kPower, {10, 20, 58, 68}, QStringLiteral("On"));
        power.code[0] = 0x1234;
        power.code[1] = -5;
        const QByteArray file = BuiltFile(program, {power}, 3);
        QCOMPARE(file.size(), program.size() + 8212 + 8 + 12);
        const QByteArray design = file.mid(program.size());
        QCOMPARE(design.left(20), Le32(1) + Le32(10) + Le32(20) + Le32(58) + Le32(68));
        QCOMPARE(design.mid(20, 8), QByteArray::fromHex("34120000fbffffff"));
        QCOMPARE(design.mid(8212, 8), QByteArray::fromHex("4f006e000d000a00"));
        QCOMPARE(design.right(12), QByteArray("V1.0") + Le32(program.size()) + Le32(3));
    }

    void captionsKeepTheirLineBreaks_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("stored"); // without the closing CR LF
        QTest::addColumn<QString>("loaded");
        const QString ab = QStringLiteral("A") + kCr + kLf + QStringLiteral("B");
        QTest::newRow("A CR LF B") << ab << QStringLiteral("A\\r\\nB") << ab;
        QTest::newRow("typed backslash n") << QStringLiteral("Vol\\nUp") << QStringLiteral("Vol\\nUp")
                                           << QStringLiteral("Vol") + kLf + QStringLiteral("Up");
        QTest::newRow("backslashes stay") << QStringLiteral("a\\b\\") << QStringLiteral("a\\b\\")
                                          << QStringLiteral("a\\b\\");
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("Chinese") << QStringLiteral("开机") << QStringLiteral("开机") << QStringLiteral("开机");
    }
    void captionsKeepTheirLineBreaks()
    {
        QFETCH(QString, caption);
        QFETCH(QString, stored);
        QFETCH(QString, loaded);
        const QByteArray file = BuiltFile(FakeProgram(), {Record(keys::kDefault, {}, caption)});
        const QByteArray line = file.mid(FakeProgram().size() + 8212, file.size() - FakeProgram().size() - 8212 - 12);
        QCOMPARE(line, QByteArray(reinterpret_cast<const char*>(stored.utf16()), stored.size() * 2)
                           + QByteArray::fromHex("0d000a00"));
        const auto design = Read(file);
        QVERIFY(design);
        QCOMPARE(design->buttons.size(), size_t(1));
        QCOMPARE(design->buttons[0].caption, loaded);
    }

    void designsComeBackAsTheyWent()
    {
        const std::vector<ButtonRecord> buttons = {
            Record(keys::kPower, {10, 20, 58, 68}, QStringLiteral("On"), 560),
            Record(keys::kBlank, {0, 0, 0, 0}, QString(), 9000),
            Record(keys::kRight, {-3, 700, 45, 748}, QStringLiteral("x") + kLf + QStringLiteral("y")),
        };
        const QByteArray program = FakeProgram();
        const auto design = Read(BuiltFile(program, buttons, 4));
        QVERIFY(design);
        QCOMPARE(design->programLength, qint32(program.size()));
        QCOMPARE(design->bodyIndex, 4);
        QCOMPARE(design->buttons.size(), buttons.size());
        for (size_t i = 0; i < buttons.size(); ++i) {
            QCOMPARE(design->buttons[i].keyType, buttons[i].keyType);
            QVERIFY(design->buttons[i].rect == buttons[i].rect);
            QVERIFY(design->buttons[i].code == buttons[i].code);
            QCOMPARE(design->buttons[i].caption, buttons[i].caption);
        }

        // No buttons: the trailer follows the program directly.
        const QByteArray empty = BuiltFile(program, {}, -1);
        QCOMPARE(empty.size(), program.size() + 12);
        const auto none = Read(empty);
        QVERIFY(none && none->buttons.empty());
        QCOMPARE(none->bodyIndex, -1);
    }

    void foreignTrailersMeanNoDesign_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray program = FakeProgram();
        const QByteArray good = BuiltFile(program, {Record(keys::kPower, {}, "On")});
        auto withOffset = [&](qint32 offset) {
            QByteArray bytes = good;
            bytes.replace(bytes.size() - 8, 4, Le32(offset));
            return bytes;
        };
        QTest::newRow("plain program") << program;
        QTest::newRow("shorter than a trailer") << QByteArray("V1.0");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("V1.1") << QByteArray(good).replace(good.size() - 12, 4, "V1.1");
        QTest::newRow("negative offset") << withOffset(-1);
        QTest::newRow("most negative offset") << withOffset(std::numeric_limits<qint32>::min());
        QTest::newRow("offset = length") << withOffset(qint32(good.size()));
        QTest::newRow("offset beyond") << withOffset(std::numeric_limits<qint32>::max());
    }
    void foreignTrailersMeanNoDesign()
    {
        QFETCH(QByteArray, file);
        QVERIFY(!Read(file));
    }

    void hostileDesignsLoadWhatIsValid_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("first"); // the first one's caption
        const QByteArray program = FakeProgram();
        const ButtonRecord a = Record(keys::kDigit0 + 1, {10, 10, 58, 58}, "a");
        const ButtonRecord b = Record(keys::kDigit0 + 2, {70, 10, 118, 58}, "b");
        const QByteArray two = BuiltFile(program, {a, b});
        const int secondAt = program.size() + 8212 + 6;
        auto trailer = [&](qint32 offset) { return QByteArray("V1.0") + Le32(offset) + Le32(0); };

        QTest::newRow("second record truncated")
            << two.left(secondAt + 8000) + trailer(program.size()) << 1 << "a";
        QTest::newRow("second caption without end")
            << two.left(secondAt + 8212 + 2) + trailer(program.size()) << 1 << "a";
        QTest::newRow("odd byte before the trailer")
            << two.left(secondAt + 8212 + 1) + trailer(program.size()) << 1 << "a";
        QTest::newRow("offset inside the trailer") << two.left(two.size() - 12) + trailer(two.size() - 6) << 0 << "";
        QByteArray unknownKind = two;
        unknownKind.replace(program.size(), 4, Le32(20));
        QTest::newRow("unknown key kind left out") << unknownKind << 1 << "b";
        unknownKind.replace(program.size(), 4, Le32(-1));
        QTest::newRow("negative key kind left out") << unknownKind << 1 << "b";

        QByteArray longLine = program + built::EncodeDesign({a}, 0, 0).left(8212);
        longLine += QByteArray(2 * (built::kMaxCaptionUnits + 1), 'x') + QByteArray::fromHex("0a00");
        longLine += built::EncodeDesign({b}, 0, 0).chopped(12) + trailer(program.size());
        QTest::newRow("caption line too long") << longLine << 0 << "";

        std::vector<ButtonRecord> many(size_t(built::kMaxButtons) + 99, a);
        QTest::newRow("more buttons than can send") << BuiltFile(program, many) << built::kMaxButtons << "a";
    }
    void hostileDesignsLoadWhatIsValid()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, buttons);
        QFETCH(QString, first);
        const auto design = Read(file);
        QVERIFY(design);
        QCOMPARE(int(design->buttons.size()), buttons);
        if (buttons > 0)
            QCOMPARE(design->buttons[0].caption, first);
    }

    void hostileCoordinatesAreClamped()
    {
        QByteArray file = BuiltFile(FakeProgram(), {Record(keys::kPower, {}, QString())});
        const int at = FakeProgram().size() + 4;
        file.replace(at, 16, Le32(std::numeric_limits<qint32>::min()) + Le32(-40000) + Le32(40000)
                                 + Le32(std::numeric_limits<qint32>::max()));
        const auto design = Read(file);
        QVERIFY(design);
        const DesignRect limit{-built::kMaxCoordinate, -built::kMaxCoordinate, built::kMaxCoordinate,
                               built::kMaxCoordinate};
        QVERIFY(design->buttons.at(0).rect == limit);
    }

    void writesAnExecutableCopyOfTheProgram()
    {
        const QString programPath = dir.filePath("Remote");
        QVERIFY(WriteFile(programPath, FakeProgram()));
        const QString out = dir.filePath("tv.exe");
        const std::vector<ButtonRecord> buttons = {Record(keys::kPower, {1, 2, 49, 50}, "On", 300)};
        QVERIFY(built::WriteBuiltRemote(out, programPath, 0, buttons, 1));
        QCOMPARE(ReadFile(out), BuiltFile(FakeProgram(), buttons, 1));
        QCOMPARE(int(QFile::permissions(out) & 0x7077),
                 int(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                     | QFile::ReadOther | QFile::ExeOther));

        // Rebuilt from that remote: only its first P bytes are the program.
        const QString again = dir.filePath("again.exe");
        QVERIFY(built::WriteBuiltRemote(again, out, FakeProgram().size(), {}, 0));
        QCOMPARE(ReadFile(again), BuiltFile(FakeProgram(), {}, 0));
    }

    void failedBuildsLeaveTheTargetAlone()
    {
        const QString programPath = dir.filePath("Remote2");
        QVERIFY(WriteFile(programPath, FakeProgram()));
        const std::vector<ButtonRecord> buttons = {Record(keys::kPower, {}, "On")};

        // The program itself, by its name and through a hard link.
        QVERIFY(!built::WriteBuiltRemote(programPath, programPath, 0, buttons, 0));
        QVERIFY(::link(QFile::encodeName(programPath).constData(), QFile::encodeName(dir.filePath("link")).constData()) == 0);
        QVERIFY(!built::WriteBuiltRemote(dir.filePath("link"), programPath, 0, buttons, 0));
        QCOMPARE(ReadFile(programPath), FakeProgram());

        // A program that cannot be read, or is shorter than its part.
        QVERIFY(!built::WriteBuiltRemote(dir.filePath("x.exe"), dir.filePath("missing"), 0, buttons, 0));
        QVERIFY(!built::WriteBuiltRemote(dir.filePath("x.exe"), programPath, FakeProgram().size() + 1, buttons, 0));
        QVERIFY(!QFile::exists(dir.filePath("x.exe")));

        // Below a plain file: nothing can be created there, by anyone.
        QVERIFY(!built::WriteBuiltRemote(programPath + "/x.exe", programPath, 0, buttons, 0));

        // A full disk, made by a file-size limit: the old remote stays whole.
        const QString target = dir.filePath("old.exe");
        QVERIFY(WriteFile(target, "the old remote"));
        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 1000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = built::WriteBuiltRemote(target, programPath, 0, buttons, 0);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written);
        QCOMPARE(ReadFile(target), QByteArray("the old remote"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).filter("old.exe").size(), 1); // no leftovers

        if (geteuid() == 0)
            QSKIP("permissions do not stop the superuser");
        const QString locked = dir.filePath("locked");
        QVERIFY(QDir().mkdir(locked));
        QVERIFY(WriteFile(locked + "/tv.exe", "previous"));
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        const bool lockedWritten = built::WriteBuiltRemote(locked + "/tv.exe", programPath, 0, buttons, 0);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!lockedWritten);
        QCOMPARE(ReadFile(locked + "/tv.exe"), QByteArray("previous"));
    }
};

QTEST_GUILESS_MAIN(TestBuiltRemote)
#include "tst_builtremote.moc"
