#pragma once

#include <QString>
#include <QStringList>

#include <optional>

enum class CliCommand { Help, Decode, Text, Info };

// One invocation, checked: the channel is 1..4 as users count them.
struct CliRequest {
    CliCommand command = CliCommand::Help;
    QString file;
    bool boxes = false; // decode
    int channel = 1;    // text
    std::optional<QString> prefix;
    std::optional<QString> suffix;
    std::optional<QString> separator;
    std::optional<QString> format;
    std::optional<int> columns;
};

struct CliParseResult {
    std::optional<CliRequest> request; // empty on a usage error
    QString error;                     // what was wrong, for the user
};

// `arguments` without the program name.
CliParseResult ParseCliArguments(const QStringList& arguments);

QString CliUsageText();
