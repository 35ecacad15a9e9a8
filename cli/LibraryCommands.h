#pragma once

#include "cli/CliCommands.h"

#include <QStringList>

// wavix-cli library list|export|import on a Record.dat; `arguments` start
// after the word "library".
CliOutput RunLibraryCommand(const QStringList& arguments);
