#pragma once

#include "analyzer/core/AnalyzerSettings.h"
#include "analyzer/core/PulseTrain.h"

#include <QString>

// The output box's text: the train's raw durations shaped by the prefix,
// per-value template, separator, columns and suffix of the settings.
QString FormatPulseText(const PulseTrain& train, const AnalyzerSettings& settings);

// Formats one integer with a user-typed printf-style template without ever
// handing the template to printf: the first integer conversion (flags, width,
// precision, d i u x X o) is formatted, "%%" becomes "%", anything else is
// copied literally.
QString FormatOneInteger(const QString& templateText, int32_t value);
