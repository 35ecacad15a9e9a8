#pragma once

#include "analyzer/core/CaptureState.h"

#include <QString>

class CEPDevice;
class CMultiLanguage;

// What the code library window needs of the main window, and no more. The
// main window implements it; the library never sees the main window itself.
class VendorHost {
public:
    // The data folder (DataFolder.h): Record.dat, Setting.ini and success.wav live here.
    virtual QString LibraryFolder() const = 0;
    virtual const std::array<PulseTrain, kChannelCount>& ChannelTrains() const = 0;
    virtual int SelectedChannel() const = 0;
    // The connection that sends trains and the success signal; null while a
    // firmware transfer holds the device, so a click never waits for it.
    virtual CEPDevice* LibraryDevice() = 0;
    // Puts a train into a channel and brings everything that shows the
    // channel up to date: protocol, view, code text.
    virtual void LoadTrainIntoChannel(int channel, const PulseTrain& train) = 0;
    // The current language: the windows translate themselves through it.
    virtual const CMultiLanguage& Language() const = 0;

protected:
    ~VendorHost() = default;
};
