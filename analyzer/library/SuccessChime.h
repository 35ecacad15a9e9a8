#pragma once

#include <QByteArray>
#include <QString>

// The short chime the code test plays after a match: two bell-like notes a
// fourth apart, as a 16-bit mono PCM WAV file. Computed, so every build
// writes the same bytes.
QByteArray SuccessChimeWav();

// Writes the chime to `path` atomically; false when it cannot.
bool WriteSuccessChime(const QString& path);
