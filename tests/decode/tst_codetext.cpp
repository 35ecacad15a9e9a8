#include "analyzer/decode/CodeText.h"

#include <QtTest>

#include <climits>
#include <cstdio>
#include <vector>

namespace {

PulseTrain MakeTrain(int32_t startLevel, const std::vector<int32_t>& durations)
{
    PulseTrain train;
    train[0] = startLevel;
    for (std::size_t i = 0; i < durations.size() && i < PulseTrain::kMaxPulses; ++i)
        train[static_cast<int>(i) + 1] = durations[i];
    return train;
}

// What the C library prints for one int with a format known to be safe.
QString Printf(const QByteArray& safeFormat, int value)
{
    std::vector<char> buffer(4096);
    const int length = std::snprintf(buffer.data(), buffer.size(), safeFormat.constData(), value);
    return QString::fromLatin1(buffer.data(), length);
}

} // namespace

class TestCodeText : public QObject {
    Q_OBJECT

private slots:
    void formatsLikePrintf_data()
    {
        // The template as typed, and a format for snprintf that prints the
        // same text without any unsafe conversion.
        QTest::addColumn<QString>("userTemplate");
        QTest::addColumn<QByteArray>("safeFormat");
        const char* const same[] = {
            "%05X", "%d", "%i", "%u", "%x", "%o", "%#x", "%#X", "%#o", "%#.0o", "%+d", "% d", "%+ d",
            "%-8d|", "%08d", "%-08d", "%08.3d", "%.0d", "%.0x", "%+.0d", "%10.4X", "%#010x", "% 05d",
            "%-08.3x", "%hd", "%hhx", "%hu", "%%d", "[%d]", "abc%dxyz", "%d%%", "100%%%d", "",
        };
        for (const char* format : same)
            QTest::newRow(format) << QString::fromLatin1(format) << QByteArray(format);
        QTest::newRow("%s") << "%s" << QByteArray("%%s");
        QTest::newRow("%n") << "%n" << QByteArray("%%n");
        QTest::newRow("%d%d") << "%d%d" << QByteArray("%d%%d");
        QTest::newRow("%s%d") << "%s%d" << QByteArray("%%s%d");
        QTest::newRow("%c%x") << "%c%x" << QByteArray("%%c%x");
        QTest::newRow("%*d") << "%*d" << QByteArray("%%*d");
        QTest::newRow("%5%d") << "%5%d" << QByteArray("%%5%%d");
        QTest::newRow("lone %") << "%" << QByteArray("%%");
        QTest::newRow("% at the end") << "%d%" << QByteArray("%d%%");
        QTest::newRow("%ld") << "%ld" << QByteArray("%d");
        QTest::newRow("%lld") << "%lld" << QByteArray("%d");
        QTest::newRow("%99999d") << "%99999d" << QByteArray("%1000d");
        QTest::newRow("%.99999d") << "%.99999d" << QByteArray("%.1000d");
        QTest::newRow("%-099999999999x") << "%-099999999999x" << QByteArray("%-01000x");
    }

    void formatsLikePrintf()
    {
        QFETCH(QString, userTemplate);
        QFETCH(QByteArray, safeFormat);
        for (const int value : {0, 1, -1, 7, 255, 9000, -4500, 65535, INT_MAX, INT_MIN}) {
            const QString expected = Printf(safeFormat, value);
            QCOMPARE(FormatOneInteger(userTemplate, value), expected);
        }
    }

    void formatsTrains_data()
    {
        QTest::addColumn<int>("startLevel");
        QTest::addColumn<std::vector<int32_t>>("durations");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("text");

        const std::vector<int32_t> nec{9000, 4500, 560, 560};
        QTest::newRow("defaults") << 0 << nec << "" << "%05X" << ", " << 16 << "" << "02328, 01194, 00230, 00230";
        QTest::newRow("index and level") << 1 << std::vector<int32_t>{9000, 4500} << "" << "[INDEX]:[LEVEL]%d" << " "
                                         << 16 << "" << "1:H9000 2:L4500";
        QTest::newRow("level from a low start") << 0 << nec << "" << "[LEVEL]" << "" << 0 << "" << "LHLH";
        QTest::newRow("start word 0x0100 is high") << 0x0100 << nec << "" << "[LEVEL]" << "" << 0 << "" << "HLHL";
        QTest::newRow("placeholders repeat") << 0 << std::vector<int32_t>{5} << "" << "[INDEX][INDEX][LEVEL]" << ""
                                             << 0 << "" << "11L";
        QTest::newRow("placeholders are case sensitive") << 0 << std::vector<int32_t>{5} << "" << "[index]%d" << ""
                                                         << 0 << "" << "[index]5";
        QTest::newRow("an empty conversion can complete a placeholder")
            << 0 << std::vector<int32_t>{0x10, 0} << "" << "[IND%.0XEX]" << "" << 0 << "" << "[IND10EX]";
        QTest::newRow("upper-case hex can complete a placeholder")
            << 1 << std::vector<int32_t>{0xDE, 0xAD} << "" << "[IN%XX][LEVEL]" << "," << 0 << ""
            << "1H,[INADX]L";
        QTest::newRow("placeholders around a number")
            << 0 << std::vector<int32_t>{7, 8} << "" << "[LEVEL]%+03d[INDEX]" << "," << 0 << "" << "L+071,H+082";
        QTest::newRow("value on its own line") << 0 << std::vector<int32_t>{1, 2, 3} << "" << "%d\\n" << "" << 0
                                               << "" << "1\r\n2\r\n3\r\n";
        QTest::newRow("escapes in all four texts") << 0 << std::vector<int32_t>{1, 2} << "a\\tb" << "\\t%d" << "\\n"
                                                   << 0 << "\\n" << "a\tb\t1\r\n\t2\r\n";
        QTest::newRow("escaped backslash pair") << 0 << std::vector<int32_t>{1} << "\\\\n" << "%d" << "" << 0 << ""
                                                << "\\\r\n1";
        QTest::newRow("empty template is %d") << 0 << nec << "" << "" << "," << 0 << "" << "9000,4500,560,560";
        QTest::newRow("empty channel, no prefix or suffix") << 1 << std::vector<int32_t>{} << "<" << "%d" << ","
                                                            << 16 << ">" << "";
        QTest::newRow("columns 0 is one line") << 0 << std::vector<int32_t>(20, 7) << "" << "%d" << "" << 0 << ""
                                               << QString(20, u'7');
        QTest::newRow("columns 1 breaks after the separator")
            << 0 << std::vector<int32_t>{1, 2, 3} << "<" << "%d" << ", " << 1 << ">" << "<1, \r\n2, \r\n3\r\n>";
        QTest::newRow("multiple of columns ends with a line break")
            << 0 << std::vector<int32_t>{1, 2, 3, 4} << "" << "%d" << " " << 2 << ";" << "1 2 \r\n3 4\r\n;";
        QTest::newRow("negative columns") << 0 << std::vector<int32_t>{1, 2, 3, 4} << "" << "%d" << "" << -2 << ""
                                          << "12\r\n34\r\n";
        QTest::newRow("durations from a file may be negative")
            << 0 << std::vector<int32_t>{-1, INT_MIN} << "" << "%d" << "|" << 0 << "" << "-1|-2147483648";
        QTest::newRow("hostile template") << 0 << std::vector<int32_t>{5, 6} << "" << "%s%n%d%d%" << "," << 0 << ""
                                          << "%s%n5%d%,%s%n6%d%";
    }

    void formatsTrains()
    {
        QFETCH(int, startLevel);
        QFETCH(std::vector<int32_t>, durations);
        QFETCH(QString, prefix);
        QFETCH(QString, format);
        QFETCH(QString, separator);
        QFETCH(int, columns);
        QFETCH(QString, suffix);
        QFETCH(QString, text);
        AnalyzerSettings settings;
        settings.prefix = prefix;
        settings.format = format;
        settings.spaceCharacter = separator;
        settings.columns = columns;
        settings.suffix = suffix;
        QCOMPARE(FormatPulseText(MakeTrain(startLevel, durations), settings), text);
    }

    void formatsAFullTrain()
    {
        std::vector<int32_t> durations(PulseTrain::kMaxPulses);
        for (std::size_t i = 0; i < durations.size(); ++i)
            durations[i] = 100 + static_cast<int32_t>(i);
        const AnalyzerSettings settings;
        const QString text = FormatPulseText(MakeTrain(1, durations), settings);

        const QStringList values = QString(text).remove(QLatin1String("\r\n")).split(QLatin1String(", "));
        QCOMPARE(values.size(), PulseTrain::kMaxPulses);
        QCOMPARE(values.first(), QStringLiteral("00064"));
        QCOMPARE(values.last(), QStringLiteral("00862")); // 100 + 2046
        QCOMPARE(text.count(QLatin1String("\r\n")), PulseTrain::kMaxPulses / 16);
        QVERIFY(text.endsWith(QLatin1String("00862")));
    }
};

QTEST_GUILESS_MAIN(TestCodeText)
#include "tst_codetext.moc"
