// An installed analyzer keeps the user's files in ~/.config/wavix and never
// writes to its installed folders; a copy in a folder the user owns keeps
// them beside itself, as before.
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/core/FirmwareUpdate.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/RecordFile.h"
#include "analyzer/library/SuccessChime.h"
#include "analyzer/library/window/VendorDlg.h"
#include "analyzer/settings/SettingsStore.h"
#include "sim/SimControl.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestInstalledCopy : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    QString Path(const QString& name) const { return root->filePath(name); }
    QStringList Listing(const QString& folder) const
    {
        return QDir(Path(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void init()
    {
        usbsim::Reset();
        root = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(Path("usr/bin")) && QDir().mkpath(Path("usr/share/wavix")));
        QVERIFY(QDir().mkpath(Path("build/bin")));
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
    }

    void installedCopyKeepsTheUserFilesInTheConfigFolder()
    {
        const QString config = Path("config/wavix");
        CodeLibrary library;
        PulseTrain train;
        train[0] = 1;
        train[1] = 9000;
        train[2] = 4500;
        library.Append(QStringLiteral("kept"), train);
        QVERIFY(QDir().mkpath(config));
        QVERIFY(SaveRecords(config + QStringLiteral("/Record.dat"), library));

        auto window = std::make_unique<CWavixDlg>(Path("usr/bin"));
        QCOMPARE(window->AppDirectory(), config);
        QCOMPARE(window->SettingsPath(), config + QStringLiteral("/Setting.ini"));
        QCOMPARE(Contents(config + QStringLiteral("/success.wav")), SuccessChimeWav());
        QVERIFY(!QDir(config + QStringLiteral("/Language")).isEmpty());

        // The library window reads the user's Record.dat and writes the
        // user's Setting.ini.
        window->show();
        window->Command(ids::kCmdVendor)->trigger();
        CVendorDlg* vendor = window->VendorWindow();
        QVERIFY(vendor && QTest::qWaitForWindowExposed(vendor));
        QCOMPARE(vendor->List()->model()->rowCount(), 1);
        QCOMPARE(ReadSetting(config + QStringLiteral("/Setting.ini"), "Test", "Enabled", "?"), QStringLiteral("FALSE"));
        window.reset();

        QCOMPARE(Listing("usr/bin"), QStringList());
        QCOMPARE(Listing("usr/share/wavix"), QStringList());
    }

    // The package may ship firmware images; the user's folder comes first.
    void installedCopyFindsTheShippedFirmware()
    {
        QVERIFY(QDir().mkpath(Path("usr/share/wavix/firmware")));
        const QString image = Path("usr/share/wavix/firmware/Wavix_1.0.2.0.UPF");
        QFile file(image);
        const QByteArray bytes(3000, '\x5a');
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        usbsim::ExpectFirmware("Wavix_1.0.2.0.UPF", std::vector<uint8_t>(bytes.begin(), bytes.end()));

        CWavixDlg window(Path("usr/bin"));
        QSignalSpy found(&window.Firmware(), &FirmwareUpdate::UpdateFound);
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(found.size(), 1, 10000);
        QCOMPARE(found.at(0).at(0).toString(), image);
        QMessageBox* box = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((box = window.findChild<QMessageBox*>(QStringLiteral("firmwareResult"))), 15000);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        QCOMPARE(usbsim::ReceivedFirmware(), std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }

    void theUsersOwnChimeStays()
    {
        QVERIFY(QDir().mkpath(Path("config/wavix")));
        QFile own(Path("config/wavix/success.wav"));
        QVERIFY(own.open(QIODevice::WriteOnly) && own.write("mine") == 4);
        own.close();
        CWavixDlg window(Path("usr/bin"));
        QCOMPARE(Contents(Path("config/wavix/success.wav")), QByteArray("mine"));
    }

    void portableCopyKeepsItsFilesBesideItself()
    {
        CWavixDlg window(Path("build/bin"));
        QCOMPARE(window.AppDirectory(), Path("build/bin"));
        QCOMPARE(Listing("build/bin"), (QStringList{"Language", "Setting.ini", "success.wav"}));
        QVERIFY(!QFileInfo::exists(Path("config")));
    }
};

QTEST_MAIN(TestInstalledCopy)
#include "tst_installedcopy.moc"
