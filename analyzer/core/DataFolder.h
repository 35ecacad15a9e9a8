#pragma once

#include <QString>
#include <QStringList>

// Where the programs keep the files they write (Setting.ini, Record.dat,
// Language/, success.wav) and look for firmware images (*.UPF).
//
// A copy run from a folder the user can write to keeps them beside itself
// ("portable"), as it always did. An installed copy keeps them in
// $XDG_CONFIG_HOME/wavix (default ~/.config/wavix): its program folder is
// not the user's, even when the user is root and could write to it.

// True when `programFolder` sits in an installed layout: the shared files
// the install puts in <prefix>/share/wavix lie beside <prefix>/bin.
bool IsInstalledProgramFolder(const QString& programFolder);

// True when the files live beside the program: not installed, and the user
// may create files in the folder.
bool IsPortableProgramFolder(const QString& programFolder);

// $XDG_CONFIG_HOME/wavix; a relative or empty XDG_CONFIG_HOME is ignored, as
// the XDG base directory rules ask, and $HOME/.config/wavix used instead.
QString UserDataFolder();

// The folder for `programFolder`'s files, without creating anything (for
// readers such as wavix-cli).
QString DataFolderPath(const QString& programFolder);

// The same, with the user folder and any missing parent created with mode
// 0700 on first use; existing folders keep their modes.
QString EnsureDataFolder(const QString& programFolder);

// Read-only files shipped with the program (the user guides): the program
// folder of a portable copy, <prefix>/share/wavix of an installed one.
QString SharedFilesFolder(const QString& programFolder);

// Where firmware images are looked for: the data folder first, then the
// images an installed copy ships in <prefix>/share/wavix/firmware.
QStringList FirmwareFolders(const QString& programFolder);
