#pragma once

#include "analyzer/core/CaptureState.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Capture files (*.lgc): a plain sequence of 8196-byte records, one per
// channel: the channel index (u32) and the 2048 entries of its train (i32),
// little-endian, no header.
constexpr int kCaptureRecordSize = 8196;

// Applies every whole record of `bytes` to `channels` in file order: a record
// for index 0..3 replaces that channel, any other index is skipped, trailing
// bytes that make no whole record are ignored. Returns the channels replaced,
// in file order (a channel may appear twice).
std::vector<int> ApplyCaptureRecords(const QByteArray& bytes, ChannelTrains& channels);

// Reads a file record by record (bounded memory whatever its size) and
// applies it as above. False when the file cannot be opened.
bool LoadCaptureFile(const QString& path, ChannelTrains& channels, std::vector<int>* replaced = nullptr);

// The records of the listed channels, in the order given.
QByteArray SerializeChannels(const ChannelTrains& channels, const std::vector<int>& which);

struct SaveOutcome {
    bool ok = false;
    QString error; // the cause, for the message box, when !ok
};

// Writes atomically: a failed or interrupted write leaves the previous file whole.
SaveOutcome SaveCaptureFile(const QString& path, const ChannelTrains& channels, const std::vector<int>& which);
