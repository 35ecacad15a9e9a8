// The success sound: played off the caller's thread, and the chime itself.
#include "TestFiles.h"
#include "analyzer/library/SoundPlayer.h"
#include "analyzer/library/SuccessChime.h"

#include <QSemaphore>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstdlib>
#include <mutex>

class TestSuccessSound : public QObject {
    Q_OBJECT

private slots:
    void playNeverWaitsForTheSoundLibrary()
    {
        QSemaphore started;
        QSemaphore release;
        std::mutex mutex;
        QStringList played;
        bool backendTimedOut = false;
        {
            SoundPlayer player([&](const std::string& path) {
                started.release();
                // A stuck sound server; the caller must not be waiting here.
                const bool released = release.tryAcquire(1, 5000);
                std::lock_guard<std::mutex> lock(mutex);
                backendTimedOut = backendTimedOut || !released;
                played << QString::fromStdString(path);
            });
            player.Play(QStringLiteral("/a.wav"));
            QVERIFY(started.tryAcquire(1, 5000));
            player.Play(QStringLiteral("/b.wav"));
            player.Play(QStringLiteral("/c.wav")); // replaces b, still waiting
            release.release(2);
            QVERIFY(started.tryAcquire(1, 5000));
        }
        QVERIFY(!backendTimedOut);
        QCOMPARE(played, (QStringList{"/a.wav", "/c.wav"}));
    }

    void chimeIsAShortCleanWav()
    {
        const QByteArray wav = SuccessChimeWav();
        QCOMPARE(wav, SuccessChimeWav());
        QCOMPARE(wav.left(4), QByteArray("RIFF"));
        QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        QCOMPARE(u32(4), quint32(wav.size() - 8));
        QCOMPARE(u16(20), quint16(1)); // PCM
        QCOMPARE(u16(22), quint16(1)); // mono
        QCOMPARE(u16(34), quint16(16));
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        const quint32 rate = u32(24);
        const int samples = int(u32(40) / 2);
        QCOMPARE(44 + 2 * samples, int(wav.size()));
        const double seconds = double(samples) / rate;
        QVERIFY2(seconds > 0.3 && seconds < 1.5, qPrintable(QString::number(seconds)));

        int peak = 0;
        for (int i = 0; i < samples; ++i)
            peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * i))));
        QVERIFY2(peak > 8000 && peak < 30000, qPrintable(QString::number(peak))); // audible, never clipped
        const auto sample = [&](int i) { return std::abs(int(qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * i))); };
        QVERIFY(sample(0) < 200);           // no click at the start
        QVERIFY(sample(samples - 1) < 200); // nor at the end
    }

    void canberraIsSilentWhenItCannotPlay()
    {
        // Whatever this machine has (no device, no server, no file), playing
        // returns and reports nothing.
        QTemporaryDir dir;
        const QString chime = dir.filePath(QStringLiteral("success.wav"));
        QVERIFY(WriteFile(chime, SuccessChimeWav()));
        const SoundPlayer::Backend canberra = SoundPlayer::Canberra();
        canberra(dir.filePath(QStringLiteral("missing.wav")).toStdString());
        canberra(chime.toStdString());
        SoundPlayer::Process().Play(dir.filePath(QStringLiteral("missing.wav")));
    }
};

QTEST_GUILESS_MAIN(TestSuccessSound)
#include "tst_successsound.moc"
