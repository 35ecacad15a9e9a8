#pragma once

#include <QString>

// The code library's test options, section [Test] of Setting.ini, read each
// time the code library window opens.
struct CodeTestSettings {
    bool enabled = false;
    int marginsOfError = 20; // percent, 1..50
    bool playSound = true;
};

// Missing or empty keys take the defaults; a margin below 1 or above 50 (or
// not a number) becomes 1; the switches are on only for "TRUE" in any case.
CodeTestSettings LoadCodeTestSettings(const QString& iniPath);

bool WriteTestEnabled(const QString& iniPath, bool enabled);
bool WriteTestMarginsOfError(const QString& iniPath, int percent);
bool WriteTestPlaySound(const QString& iniPath, bool playSound);
