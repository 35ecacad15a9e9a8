#pragma once

#include "analyzer/core/CaptureState.h"

#include <QString>

#include <array>

class CodeLibrary;

// What the Add dialog shows and returns: per channel a tick and a name.
struct AddChoice {
    std::array<bool, kChannelCount> ticked{};
    std::array<QString, kChannelCount> names;
};

// The Add dialog's memory, kept for the whole run of the program: it starts
// with CH1..CH4 and no ticks, and the first Add ticks the selected channel.
class AddDialogMemory {
public:
    static AddDialogMemory& Process();

    AddDialogMemory();
    // The choice the dialog opens with; the first call ticks `selectedChannel`.
    AddChoice Open(int selectedChannel);
    void Remember(const AddChoice& choice) { remembered = choice; }

private:
    AddChoice remembered;
    bool used = false;
};

// Appends one entry per ticked channel, channels 1 to 4 in order, each with a
// copy of the channel's whole train, when they all fit below the library's
// capacity; otherwise nothing. Returns how many were added.
int AddChannels(CodeLibrary& library, const std::array<PulseTrain, kChannelCount>& channels, const AddChoice& choice);
