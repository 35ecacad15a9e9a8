#pragma once

#include <QString>

#include <optional>

// Why a path cannot be read as a plain file ("no such file", "is a
// directory", "is not a regular file"); nothing when it is one. Pipes and
// devices are refused because they could feed data for ever.
std::optional<QString> UnreadableFileProblem(const QString& path);
