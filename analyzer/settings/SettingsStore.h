#pragma once

#include "analyzer/core/AnalyzerSettings.h"

#include <QString>

// Setting.ini in the program folder, with the profile-file semantics the
// analyzer relies on. `iniPath` is the file's full path.

// The file's path in `appDirectory`; an existing file whose name differs only
// in case ("setting.ini") is the same file.
QString SettingsFilePath(const QString& appDirectory);

// The value without one pair of surrounding quotes, at most 999 characters;
// `fallback` when the file, the section or the key is missing or the value is empty.
QString ReadSetting(const QString& iniPath, const QString& section, const QString& key, const QString& fallback);

// Stores the value enclosed in double quotes, keeping the rest of the file.
bool WriteSetting(const QString& iniPath, const QString& section, const QString& key, const QString& value);

// Parse rules of the start-up load.
TriggerMode ParseTriggerMode(const QString& text);
CaptureMode ParseCaptureMode(const QString& text);
int ParseLeadingDecimal(const QString& text); // leading decimal digits, none gives 0
QString TriggerModeSettingText(TriggerMode mode);
QString CaptureModeSettingText(CaptureMode mode);

// The start-up load, in its order: first the trigger keys (the window then
// refreshes its trigger label), then capture, format and analyze keys.
void LoadTriggerSettings(const QString& iniPath, AnalyzerSettings& settings);
void LoadOtherSettings(const QString& iniPath, AnalyzerSettings& settings);

// The write points of the option pages. Each key is written at once; the
// outcome may be ignored (a failed write leaves the settings in memory only).
// Trigger page: [Trigger] Mode, both widths ("%d"), [Capture] Mode; a mode
// outside its range writes nothing for that key.
bool SaveTriggerSettings(const QString& iniPath, const AnalyzerSettings& settings);
// Format page: the four texts and the columns field exactly as typed.
bool SaveFormatSettings(const QString& iniPath, const AnalyzerSettings& settings, const QString& columnsText);
// Analyze page: "TRUE" or "FALSE".
bool WriteAnalyzeEnabled(const QString& iniPath, bool enabled);
