#pragma once

#include <QString>
#include <QStringView>

// The code library's filter match, case-insensitive: "?" is any one
// character, "*" any run, and characters after the pattern's end are allowed.
// A literal run after "*" takes its first occurrence; there is no
// backtracking, so "*a?c" does not match "aabc".
bool MatchWildcard(QStringView pattern, QStringView name);
