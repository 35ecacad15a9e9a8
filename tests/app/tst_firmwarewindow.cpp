// The firmware update as the user meets it: an image beside the program, the
// main window against the simulated device, the "Update" box, the status line.
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/core/FirmwareUpdate.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/RecordFile.h"
#include "analyzer/library/window/VendorDlg.h"
#include "sim/SimControl.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray TestImage(int size)
{
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char(i * 71 + (i >> 10));
    return image;
}

std::vector<uint8_t> ToBytes(const QByteArray& bytes)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

class TestFirmwareWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<CWavixDlg> window;

    QLabel* Status()
    {
        for (QLabel* label : window->findChildren<QLabel*>())
            if (ControlId(label) == ids::kStatusLine)
                return label;
        return nullptr;
    }
    QMessageBox* ResultBox() const
    {
        return window ? window->findChild<QMessageBox*>(QStringLiteral("firmwareResult")) : nullptr;
    }

    void PlaceImage(const QString& name, const QByteArray& image)
    {
        QFile file(folder->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(image) == image.size());
        usbsim::ExpectFirmware(name.toStdString(), ToBytes(image));
    }

    void StartWindow()
    {
        window = std::make_unique<CWavixDlg>(folder->path());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void CloseResultBox(const QString& expectedText)
    {
        QTRY_VERIFY_WITH_TIMEOUT(ResultBox() && ResultBox()->isVisible(), 15000);
        QMessageBox* box = ResultBox();
        QCOMPARE(box->windowTitle(), QStringLiteral("Update"));
        QCOMPARE(box->text(), expectedText);
        QCOMPARE(box->icon(), QMessageBox::Information);
        QVERIFY(box->isModal());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        QTRY_VERIFY(!ResultBox());
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init()
    {
        usbsim::Reset();
        // Long enough for the device watcher's rescans to see the device gone.
        usbsim::SetReenumerationDelayMs(700);
        folder = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        window.reset();
        folder.reset();
    }

    void newerImageUpdatesTheDevice()
    {
        const QByteArray image = TestImage(2500);
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), image);
        StartWindow();
        CloseResultBox(QStringLiteral("Update firmware successful!"));
        QCOMPARE(usbsim::ReceivedFirmware(), ToBytes(image));
        QTRY_COMPARE_WITH_TIMEOUT(Status()->text(), QStringLiteral("IR Logic Analyzer - Version 1.0.2.0"), 5000);
    }

    void failingChunkShowsFailAndFindsTheBootloader()
    {
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), TestImage(2500));
        usbsim::InjectFault(usbsim::Fault::FailChunk, 1);
        StartWindow();
        CloseResultBox(QStringLiteral("Update firmware fail!"));
        QTRY_COMPARE_WITH_TIMEOUT(Status()->text(), QStringLiteral("Quendar BOOTLOADER - Version 1.0.1.1"), 5000);
        QVERIFY(usbsim::ReceivedFirmware().empty());
    }

    // Capturing stays on through a slow transfer: the window keeps
    // answering, nothing gets between the image's frames, and captures
    // arrive again once the device is back.
    void capturingThroughATransfer()
    {
        usbsim::SetChunkWriteMs(10); // about a second for the image
        const QByteArray image = TestImage(100 * 1024);
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), image);
        StartWindow();
        window->ToggleCapture();

        // Measured from now until the result arrives, not from the transfer's
        // start signal: a UI thread stuck on the device would receive that
        // signal only after the transfer and so never measure the stall.
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        bool measuring = true;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            if (measuring)
                longestGap = std::max(longestGap, sinceTick.restart());
        });
        sinceTick.start();
        ticker.start(5);
        connect(&window->Firmware(), &FirmwareUpdate::ShowResult, this, [&] { measuring = false; });

        CloseResultBox(QStringLiteral("Update firmware successful!"));
        QVERIFY2(longestGap < 400, qPrintable(QStringLiteral("the window stalled %1 ms").arg(longestGap)));
        QCOMPARE(usbsim::ReceivedFirmware(), ToBytes(image));
        QVERIFY(window->Capture().capturing);

        QTRY_COMPARE_WITH_TIMEOUT(Status()->text(), QStringLiteral("IR Logic Analyzer - Version 1.0.2.0"), 5000);
        usbsim::QueueCapture(1, {9000, 4500, 560, 560});
        QTRY_COMPARE(window->Capture().channels[0][2], 4500);
        QCOMPARE(window->Capture().channels[0][1], 9000);
        QCOMPARE(window->Capture().channels[0][4], 560);
        QCOMPARE(window->Capture().channels[0][5], 0);
    }

    // A code sent from the library window while the transfer holds the
    // device is dropped at once: the click neither waits for the image nor
    // slips a train in between its frames.
    void librarySendDuringATransfer()
    {
        CodeLibrary library;
        PulseTrain train;
        train[0] = 1;
        train[1] = 9000;
        train[2] = 4500;
        QVERIFY(library.Append(QStringLiteral("Power"), train));
        QVERIFY(SaveRecords(folder->filePath(QStringLiteral("Record.dat")), library));
        usbsim::SetChunkWriteMs(10);
        const QByteArray image = TestImage(60 * 1024);
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), image);
        StartWindow();
        window->OpenVendor();
        CVendorDlg* vendor = window->VendorWindow();
        QVERIFY(vendor);
        QCOMPARE(vendor->ListModel().rowCount(), 1);

        QTRY_VERIFY_WITH_TIMEOUT(window->Firmware().DeviceHeld(), 10000);
        QElapsedTimer sending;
        sending.start();
        vendor->SendEntry(0);
        QVERIFY2(sending.elapsed() < 100, qPrintable(QStringLiteral("Send waited %1 ms").arg(sending.elapsed())));
        QVERIFY(window->Firmware().DeviceHeld());

        CloseResultBox(QStringLiteral("Update firmware successful!"));
        QCOMPARE(usbsim::ReceivedFirmware(), ToBytes(image));
        QVERIFY(usbsim::TransmittedTrains().empty());

        // Once the device is back, Send reaches it again.
        QTRY_COMPARE_WITH_TIMEOUT(Status()->text(), QStringLiteral("IR Logic Analyzer - Version 1.0.2.0"), 5000);
        vendor->SendEntry(0);
        QCOMPARE(usbsim::TransmittedTrains().size(), std::size_t(1));
    }

    // The window closes mid-transfer: the transfer finishes at its own pace,
    // no box appears, the device is closed and nothing is left running.
    void closingTheWindowDuringATransfer()
    {
        usbsim::SetChunkWriteMs(5);
        const QByteArray image = TestImage(60 * 1024);
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), image);
        StartWindow();
        QElapsedTimer closing;
        qint64 closeTookMs = -1;
        bool heldAtClose = false;
        connect(&window->Firmware(), &FirmwareUpdate::TransferStarted, this, [&] {
            heldAtClose = window->Firmware().DeviceHeld();
            closing.start();
            window->close();
            closeTookMs = closing.elapsed();
        });
        QTRY_VERIFY_WITH_TIMEOUT(closeTookMs >= 0, 15000);
        QVERIFY(heldAtClose);
        QVERIFY2(closeTookMs < 5000, qPrintable(QString::number(closeTookMs)));
        QVERIFY(!window->isVisible());
        QVERIFY(!window->Firmware().DeviceHeld());
        QTest::qWait(100);
        QVERIFY(!ResultBox());
        window.reset();
        QCOMPARE(usbsim::OpenHandles(), 0);
        QCOMPARE(usbsim::ReceivedFirmware(), ToBytes(image));
    }

    // Destroyed while the result box waits for the user: the box goes with
    // the window, the transfer thread with the shutdown.
    void destroyingTheWindowWhileTheBoxIsOpen()
    {
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), TestImage(1025));
        StartWindow();
        QTRY_VERIFY_WITH_TIMEOUT(ResultBox() && ResultBox()->isVisible(), 15000);
        QPointer<QMessageBox> box = ResultBox();
        QElapsedTimer clock;
        clock.start();
        window.reset();
        QVERIFY(clock.elapsed() < 2000);
        QVERIFY(!box);
        QCOMPARE(usbsim::OpenHandles(), 0);
    }
};

QTEST_MAIN(TestFirmwareWindow)
#include "tst_firmwarewindow.moc"
