#pragma once

#include "analyzer/interop/CodeFiles.h"

#include <QString>

#include <optional>

class QWidget;

// The open dialog of "Import Code...": every format's files, or any file
// (the format is found from the content). Empty when cancelled.
QString AskCodeFileToOpen(QWidget* parent, const QString& title);

// Which of a file's codes to take, when it holds more than one: the index
// into `read.codes`, nothing when cancelled.
std::optional<int> ChooseCode(QWidget* parent, const QString& title, const ReadResult& read);

// A read or write failure in a message box titled `title`.
void ShowCodeFileError(QWidget* parent, const QString& title, const CodeFileError& error);
