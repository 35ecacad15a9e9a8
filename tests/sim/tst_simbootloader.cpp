// The simulated device's bootloader, driven by a host written from the wire
// protocol: what it takes as an image, what it refuses, and what it says.
#include "sim/SimControl.h"
#include "sim/model/Bootloader.h"
#include "sim/support/SimHost.h"

#include <QtTest>

using simtest::Bytes;
using simtest::CommandFrame;
using simtest::Host;

namespace {

Bytes Image(size_t size)
{
    Bytes image(size);
    for (size_t i = 0; i < size; ++i)
        image[i] = uint8_t(i * 31 + (i >> 8));
    return image;
}

Bytes Begin(uint32_t length)
{
    return {0x02, 0xAA, 0, 0, 0, 0, uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
}

bool LogContains(const std::string& part)
{
    for (const std::string& entry : usbsim::LogLines())
        if (entry.find(part) != std::string::npos)
            return true;
    return false;
}

std::string DeviceText(Host& host, int request)
{
    Bytes reply;
    host.Control(request, 0, reply);
    return std::string(reply.begin(), reply.end());
}

// Writes the image in the given pieces.
void SendPieces(Host& host, const Bytes& image, const std::vector<size_t>& pieces)
{
    size_t at = 0;
    for (size_t piece : pieces) {
        host.Write(Bytes(image.begin() + long(at), image.begin() + long(at + piece)));
        at += piece;
    }
}

} // namespace

class TestSimBootloader : public QObject {
    Q_OBJECT

    Host host;

    // Sends the device into its bootloader and opens it there.
    bool EnterBootloader()
    {
        if (!host.Open() || host.Command({0x10, 0x55}) != 8)
            return false;
        host.Close();
        return host.Open() && DeviceText(host, 'T') == "Quendar BOOTLOADER";
    }

private slots:
    void init()
    {
        usbsim::Reset();
        QVERIFY(EnterBootloader());
    }
    void cleanup() { host.Close(); }

    void wholeImageIsFlashedWithTheVersionOfItsName()
    {
        const Bytes image = Image(2500);
        usbsim::ExpectFirmware("Wavix_1.0.2.0.UPF", image);
        host.Command(Begin(2500));
        SendPieces(host, image, {1024, 1024, 452});
        QVERIFY(usbsim::InBootloader());
        host.Command({0x04, 0xAA});
        QCOMPARE(usbsim::ReceivedFirmware(), image);
        QVERIFY(!usbsim::InBootloader());
        QVERIFY(LogContains("firmware image received: 2500 of 2500 bytes, CRC-32 "));
        QVERIFY(host.Open());
        QCOMPARE(DeviceText(host, 'T'), std::string("IR Logic Analyzer"));
        QCOMPARE(DeviceText(host, 'V'), std::string("1.0.2.0"));
        const std::string report = usbsim::FirmwareReport();
        QVERIFY2(report.find("Wavix_1.0.2.0.UPF, 2500 bytes, CRC-32 ") != std::string::npos, report.c_str());
        QVERIFY2(report.find("received intact") != std::string::npos, report.c_str());
        QVERIFY2(report.find("running version: 1.0.2.0") != std::string::npos, report.c_str());
    }

    void versionGivenWinsOverTheName_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<QString>("version");
        QTest::newRow("given") << "2.0.0.0" << "Wavix_1.0.2.0.UPF" << "2.0.0.0";
        QTest::newRow("from the name") << "" << "Wavix_1.0.3.0.UPF" << "1.0.3.0";
        QTest::newRow("nothing known: the version stays") << "" << "FIRMWARE.UPF" << "1.0.1.1";
    }
    void versionGivenWinsOverTheName()
    {
        QFETCH(QString, given);
        QFETCH(QString, expectedName);
        QFETCH(QString, version);
        const Bytes image = Image(10);
        usbsim::SetImageVersion(given.toStdString());
        usbsim::ExpectFirmware(expectedName.toStdString(), image);
        host.Command(Begin(10));
        host.Write(image);
        host.Command({0x04, 0xAA});
        QCOMPARE(QString::fromStdString(usbsim::CurrentIdentity().version), version);
    }

    void emptyImageIsAnImage()
    {
        host.Command(Begin(0));
        host.Command({0x04, 0xAA});
        QVERIFY(!usbsim::InBootloader());
        QVERIFY(LogContains("firmware image received: 0 of 0 bytes"));
    }

    // What the bootloader refuses leaves it waiting for another image.
    void refusedImages_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("pieces");
        QTest::addColumn<QString>("logged");
        QTest::newRow("short chunk") << 2500 << QList<int>{1000, 1500} << "chunk 1 was 1000 bytes where 1024 were due";
        QTest::newRow("remainder in two") << 1030 << QList<int>{1024, 3, 3} << "chunk 2 was 3 bytes where 6 were due";
        QTest::newRow("incomplete") << 2500 << QList<int>{1024} << "incomplete: 1024 of 2500 bytes";
        QTest::newRow("larger than the flash") << int(usbsim::Bootloader::kFlashBytes + 1) << QList<int>{}
                                               << "does not fit the 1048576-byte flash";
    }
    void refusedImages()
    {
        QFETCH(int, length);
        QFETCH(QList<int>, pieces);
        QFETCH(QString, logged);
        const Bytes image = Image(size_t(length));
        host.Command(Begin(uint32_t(length)));
        SendPieces(host, image, std::vector<size_t>(pieces.begin(), pieces.end()));
        host.Command({0x04, 0xAA});
        QVERIFY2(LogContains(logged.toStdString()), qPrintable(logged));
        QVERIFY(usbsim::InBootloader());
        QVERIFY(usbsim::ReceivedFirmware().empty());

        // Still willing: a good image goes through afterwards.
        const Bytes good = Image(1025);
        host.Command(Begin(1025));
        SendPieces(host, good, {1024, 1});
        host.Command({0x04, 0xAA});
        QCOMPARE(usbsim::ReceivedFirmware(), good);
    }

    // While image bytes are due every write is data, also one that reads
    // like a command frame.
    void imageBytesThatLookLikeAFrameAreData()
    {
        const Bytes lookalike = CommandFrame(9, {0x10, 0x55});
        host.Command(Begin(uint32_t(lookalike.size())));
        host.Write(lookalike);
        QVERIFY(usbsim::InBootloader());
        host.Command({0x04, 0xAA});
        QCOMPARE(usbsim::ReceivedFirmware(), lookalike);
    }

    // A sender that closes the device mid-image takes its image with it; a
    // later begin frame is a command again, not image data.
    void closingTheSenderDropsTheImage()
    {
        host.Command(Begin(2500));
        host.Write(Image(1024));
        host.Close();
        QVERIFY(LogContains("abandoned: its sender closed the device after 1024 of 2500 bytes"));
        QVERIFY(host.Open());
        const Bytes image = Image(5);
        host.Command(Begin(5));
        host.Write(image);
        host.Command({0x04, 0xAA});
        QCOMPARE(usbsim::ReceivedFirmware(), image);
    }

    // Power lost mid-image: the old firmware is already erased, so the
    // device comes back in its bootloader until a whole image is flashed.
    void unpluggedMidImageComesBackInTheBootloader()
    {
        host.Command(Begin(2500));
        QCOMPARE(host.Write(Image(1024)), 1024);
        usbsim::InjectFault(usbsim::Fault::UnplugMidTransfer, 1);
        QVERIFY(host.Write(Image(1024)) < 0);
        QVERIFY(!usbsim::IsPlugged());
        usbsim::Plug();
        host.Close();
        QVERIFY(host.Open());
        QCOMPARE(DeviceText(host, 'T'), std::string("Quendar BOOTLOADER"));
        QVERIFY(usbsim::ReceivedFirmware().empty());

        const Bytes image = Image(5);
        host.Command(Begin(5));
        host.Write(image);
        host.Command({0x04, 0xAA});
        usbsim::Unplug();
        usbsim::Plug();
        host.Close();
        QVERIFY(host.Open());
        QCOMPARE(DeviceText(host, 'T'), std::string("IR Logic Analyzer"));
    }

    void failingChunkIsRefused()
    {
        usbsim::InjectFault(usbsim::Fault::FailChunk, 1);
        host.Command(Begin(2048));
        QCOMPARE(host.Write(Image(1024)), -32);
        QCOMPARE(host.Write(Image(1024)), 1024); // taken as the first chunk
    }

    void bootloaderThatNeverComesUp()
    {
        usbsim::Reset();
        usbsim::SetReenumerationDelayMs(10);
        usbsim::InjectFault(usbsim::Fault::NoBootloader, 1);
        QVERIFY(host.Open());
        host.Command({0x10, 0x55});
        QTest::qWait(50);
        QVERIFY(!usbsim::IsPlugged());
        QVERIFY(!simtest::FindDevice());
        usbsim::Plug();
        host.Close();
        QVERIFY(host.Open());
        QCOMPARE(DeviceText(host, 'T'), std::string("IR Logic Analyzer"));
    }

    void reportSaysWhereAnImageDiffers()
    {
        Bytes image = Image(3000);
        usbsim::ExpectFirmware("Wavix_1.0.2.0.UPF", image);
        image[2100] ^= 0xFF;
        host.Command(Begin(3000));
        SendPieces(host, image, {1024, 1024, 952});
        host.Command({0x04, 0xAA});
        const std::string report = usbsim::FirmwareReport();
        QVERIFY2(report.find("NOT intact, the first difference is at byte 2100") != std::string::npos, report.c_str());
    }

    void versionInFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("version");
        QTest::newRow("plain") << "Wavix_1.0.2.0.UPF" << "1.0.2.0";
        QTest::newRow("digits run in") << "build12345.1.2.3.UPF" << "345.1.2.3";
        QTest::newRow("leftmost") << "1.2.3.4.5.UPF" << "1.2.3.4";
        QTest::newRow("three groups") << "v1.2.3.UPF" << "";
        QTest::newRow("none") << "FIRMWARE.UPF" << "";
    }
    void versionInFileName()
    {
        QFETCH(QString, name);
        QFETCH(QString, version);
        QCOMPARE(QString::fromStdString(usbsim::VersionInFileName(name.toStdString())), version);
    }

    void crc32IsTheCommonOne()
    {
        const std::string check = "123456789";
        QCOMPARE(usbsim::Crc32(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0xCBF43926u);
        QCOMPARE(usbsim::Crc32(nullptr, 0), 0u);
    }
};

QTEST_GUILESS_MAIN(TestSimBootloader)
#include "tst_simbootloader.moc"
