#include "analyzer/core/DataFolder.h"

#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// <prefix>/bin -> <prefix>/share/wavix, the layout `cmake --install` and the
// packages write.
QString InstalledSharedFolder(const QString& programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/wavix"));
}

QString HomeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty())
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? QString::fromLocal8Bit(entry->pw_dir) : QStringLiteral("/");
}

// Creates `path` and its missing parents with mode 0700, so that the first
// start never leaves the user's settings readable by others.
bool MakePrivatePath(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    if (parent != path && !MakePrivatePath(parent))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || QFileInfo(path).isDir();
}

} // namespace

bool IsInstalledProgramFolder(const QString& programFolder)
{
    return QFileInfo(InstalledSharedFolder(programFolder)).isDir();
}

bool IsPortableProgramFolder(const QString& programFolder)
{
    // access() asks the kernel with the real user's rights, read-only mounts
    // included; files are created in the folder, so it must be searchable too.
    return !IsInstalledProgramFolder(programFolder)
        && ::access(QFile::encodeName(programFolder).constData(), W_OK | X_OK) == 0;
}

QString UserDataFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = HomeFolder() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/wavix"));
}

QString DataFolderPath(const QString& programFolder)
{
    return IsPortableProgramFolder(programFolder) ? QDir::cleanPath(programFolder) : UserDataFolder();
}

QString EnsureDataFolder(const QString& programFolder)
{
    const QString folder = DataFolderPath(programFolder);
    // A failure shows later as settings that are not kept; the programs run on.
    MakePrivatePath(folder);
    return folder;
}

QString SharedFilesFolder(const QString& programFolder)
{
    return IsInstalledProgramFolder(programFolder) ? InstalledSharedFolder(programFolder)
                                                    : QDir::cleanPath(programFolder);
}

QStringList FirmwareFolders(const QString& programFolder)
{
    QStringList folders{DataFolderPath(programFolder)};
    if (IsInstalledProgramFolder(programFolder))
        folders << InstalledSharedFolder(programFolder) + QStringLiteral("/firmware");
    return folders;
}
