#pragma once

#include "analyzer/core/CaptureState.h"

#include <QString>

class CEPDevice;

// What the code library window needs of the main window, and no more. The
// main window implements it; the library never sees the main window itself.
class VendorHost {
public:
    // The program folder: Record.dat, Setting.ini and success.wav live here.
    virtual QString LibraryFolder() const = 0;
    virtual const std::array<PulseTrain, kChannelCount>& ChannelTrains() const = 0;
    virtual int SelectedChannel() const = 0;
    // The connection that sends trains and the success signal.
    virtual CEPDevice& LibraryDevice() = 0;
    // Puts a train into a channel and brings everything that shows the
    // channel up to date: protocol, view, code text.
    virtual void LoadTrainIntoChannel(int channel, const PulseTrain& train) = 0;
    // A text of the current language pack ("SPECIAL_STRING", "IDD_137", ...);
    // empty when the pack has none.
    virtual QString LanguageText(const QString& section, const QString& key) const = 0;

protected:
    ~VendorHost() = default;
};
