#pragma once

#include "cli/CliArguments.h"

#include <QString>

// Exit statuses of wavix-cli.
constexpr int kExitOk = 0;
constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

// What a command prints; `status` becomes the exit status.
struct CliOutput {
    int status = kExitOk;
    QString out;
    QString err;
};

// Runs one checked request. `settingsPath` is the Setting.ini the text
// command takes its defaults from (it need not exist).
CliOutput RunCliRequest(const CliRequest& request, const QString& settingsPath);
