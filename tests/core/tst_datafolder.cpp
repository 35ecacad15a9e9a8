// Where the programs keep their files: beside a copy the user owns, in
// ~/.config/wavix for an installed or read-only one.
#include "analyzer/core/DataFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int Mode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// Root may write to any folder, so a read-only folder is only read-only for
// an ordinary user: as root, `check` runs in a child process as "nobody".
QString AsOrdinaryUser(const std::function<QString()>& check)
{
    if (::geteuid() != 0)
        return check();
    const passwd* nobody = ::getpwnam("nobody");
    int pipeEnds[2];
    if (!nobody || ::pipe(pipeEnds) != 0)
        return QStringLiteral("<no ordinary user>");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(1);
        const QByteArray result = check().toUtf8();
        const bool written = ::write(pipeEnds[1], result.constData(), size_t(result.size())) == result.size();
        ::_exit(written ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    QByteArray result;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, n);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QString::fromUtf8(result)
                                                         : QStringLiteral("<child failed>");
}

} // namespace

class TestDataFolder : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    QString Path(const QString& name) const { return root->filePath(name); }

private slots:
    void init()
    {
        ::umask(022);
        root = std::make_unique<QTemporaryDir>();
        QVERIFY(root->isValid());
        // The child that runs as "nobody" must reach the folders.
        QVERIFY(QFile::setPermissions(root->path(), QFile::Permissions(0x7755)));
        qputenv("HOME", Path("home").toUtf8());
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
    }

    void choosesBesideTheProgramOrTheUserFolder_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<bool>("installedLayout");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("portable");
        QTest::newRow("a build folder the user owns") << "build/bin" << false << false << true;
        QTest::newRow("a portable copy in a read-only folder") << "media/wavix" << false << true << false;
        QTest::newRow("installed, read-only to the user") << "usr/bin" << true << true << false;
        // Root running /usr/bin/wavix must not litter /usr/bin.
        QTest::newRow("installed, yet writable") << "usr/bin" << true << false << false;
    }

    void choosesBesideTheProgramOrTheUserFolder()
    {
        QFETCH(QString, programFolder);
        QFETCH(bool, installedLayout);
        QFETCH(bool, readOnly);
        QFETCH(bool, portable);
        const QString program = Path(programFolder);
        QVERIFY(QDir().mkpath(program));
        if (installedLayout)
            QVERIFY(QDir().mkpath(Path("usr/share/wavix")));
        QVERIFY(QDir().mkpath(Path("config")));
        QVERIFY(QFile::setPermissions(Path("config"), QFile::Permissions(0x7777)));
        if (readOnly)
            QVERIFY(QFile::setPermissions(program, QFile::Permissions(0x5555)));

        const QString data = portable ? program : Path("config/wavix");
        const QString firmware = installedLayout ? data + u':' + Path("usr/share/wavix/firmware") : data;
        const auto choose = [&] { return EnsureDataFolder(program) + u'|' + FirmwareFolders(program).join(u':'); };
        QCOMPARE(readOnly ? AsOrdinaryUser(choose) : choose(), data + u'|' + firmware);
        // A portable copy leaves the user folder alone.
        QCOMPARE(QFileInfo::exists(Path("config/wavix")), !portable);
        QCOMPARE(SharedFilesFolder(program), installedLayout ? Path("usr/share/wavix") : program);
    }

    void createsThePrivateFolderOnFirstUseOnly()
    {
        QVERIFY(QDir().mkpath(Path("usr/bin")) && QDir().mkpath(Path("usr/share/wavix")));
        qputenv("XDG_CONFIG_HOME", Path("home/.config").toUtf8());
        const QString folder = Path("home/.config/wavix");

        // Readers only ask.
        QCOMPARE(DataFolderPath(Path("usr/bin")), folder);
        QVERIFY(!QFileInfo::exists(Path("home")));

        // Every missing folder, the home and .config included, is the user's alone.
        QCOMPARE(EnsureDataFolder(Path("usr/bin")), folder);
        for (const char* created : {"home", "home/.config", "home/.config/wavix"})
            QCOMPARE(Mode(Path(created)), 0700);

        // A folder the user opened up stays as it is.
        QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7755)));
        QCOMPARE(EnsureDataFolder(Path("usr/bin")), folder);
        QCOMPARE(Mode(folder), 0755);
    }

    void followsTheXdgBaseDirectoryRules_data()
    {
        QTest::addColumn<QByteArray>("xdgConfigHome");
        QTest::addColumn<bool>("unset");
        QTest::addColumn<QString>("expected");
        QTest::newRow("XDG_CONFIG_HOME") << QByteArray("/elsewhere/cfg") << false << "/elsewhere/cfg/wavix";
        QTest::newRow("with a trailing slash") << QByteArray("/elsewhere/cfg/") << false << "/elsewhere/cfg/wavix";
        QTest::newRow("unset: HOME") << QByteArray() << true << "%HOME%/.config/wavix";
        QTest::newRow("empty: HOME") << QByteArray("") << false << "%HOME%/.config/wavix";
        QTest::newRow("relative: ignored") << QByteArray("cfg") << false << "%HOME%/.config/wavix";
    }

    void followsTheXdgBaseDirectoryRules()
    {
        QFETCH(QByteArray, xdgConfigHome);
        QFETCH(bool, unset);
        QFETCH(QString, expected);
        if (unset)
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", xdgConfigHome);
        QCOMPARE(UserDataFolder(), expected.replace(QStringLiteral("%HOME%"), Path("home")));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
