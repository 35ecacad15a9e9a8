#pragma once

#include "cli/CliCommands.h"

#include <QStringList>

// The commands that move codes between capture files and other tools'
// formats: export and import. Kept apart from the capture
// commands; main hands them the whole argument list.

bool IsCodeCommand(const QString& command);

// Parses and runs one invocation (arguments without the program name).
// Usage errors come back with kExitUsage and the message in `err`.
CliOutput RunCodeCommand(const QStringList& arguments);

QString CodeCommandsUsageText();
