#pragma once

#include <QString>

class CMultiLanguage;
struct AnalyzerSettings;

// What the options window needs of the main window, and no more. The main
// window implements it; the options window never sees the main window itself.
class OptionsHost {
public:
    virtual AnalyzerSettings& Settings() = 0;
    virtual QString SettingsPath() const = 0;
    virtual const CMultiLanguage& Language() const = 0;
    // Sends the trigger configuration, when the device is identified.
    virtual void SendTriggerSettings() = 0;
    virtual void UpdateTriggerLabel() = 0;
    // Rebuilds the code text of the selected channel.
    virtual void FormatPulseText() = 0;
    // Repaints the whole window, the waveform with or without its annotations.
    virtual void RepaintWindow() = 0;

protected:
    ~OptionsHost() = default;
};
