#include "analyzer/library/AddEntries.h"

#include "analyzer/library/CodeLibrary.h"

AddDialogMemory& AddDialogMemory::Process()
{
    static AddDialogMemory memory;
    return memory;
}

AddDialogMemory::AddDialogMemory()
{
    for (int c = 0; c < kChannelCount; ++c)
        remembered.names[size_t(c)] = QStringLiteral("CH%1").arg(c + 1);
}

AddChoice AddDialogMemory::Open(int selectedChannel)
{
    if (!used && selectedChannel >= 0 && selectedChannel < kChannelCount)
        remembered.ticked[size_t(selectedChannel)] = true;
    used = true;
    return remembered;
}

int AddChannels(CodeLibrary& library, const std::array<PulseTrain, kChannelCount>& channels, const AddChoice& choice)
{
    int ticked = 0;
    for (bool tick : choice.ticked)
        ticked += tick ? 1 : 0;
    // The last place stays free: a full library of 1024 comes only from a file.
    if (library.Count() + ticked >= CodeLibrary::kCapacity)
        return 0;
    for (int c = 0; c < kChannelCount; ++c)
        if (choice.ticked[size_t(c)])
            library.Append(choice.names[size_t(c)], channels[size_t(c)]);
    return ticked;
}
