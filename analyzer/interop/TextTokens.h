#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// The words of a line, split at white space and at any of `extraSeparators`
// (e.g. ","), without empty words. Views into `line`.
std::vector<QStringView> SplitWords(QStringView line, QStringView extraSeparators = {});
