#pragma once

// What the window tests share: finding controls, connecting the window to the
// in-process simulated device, and reading what the window shows.

#include "designer/PlayPicture.h"
#include "designer/RemoteLayout.h"
#include "designer/ui/ControlId.h"
#include "designer/ui/RemoteDlg.h"
#include "sim/SimControl.h"

#include <QScreen>
#include <QtTest>

template <typename W = QWidget>
W* ControlOf(const CRemoteDlg& window, int id)
{
    return qobject_cast<W*>(window.Control(id));
}

inline CButtonEx* ButtonOf(const CRemoteDlg& window, int index)
{
    return window.Buttons().at(static_cast<size_t>(index)).button.get();
}

// What the window shows: its backing store, not a fresh rendering.
inline QImage Shot(const CRemoteDlg& window)
{
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// The first search and the next status poll, as timers 3 and 2 run them.
inline bool ConnectDevice(CRemoteDlg& window)
{
    window.FirstDeviceSearch();
    window.StatusPoll();
    return window.Connected();
}

// The bytes the device was last asked to transmit.
inline QByteArray LastTransmitted()
{
    const auto trains = usbsim::TransmittedTrains();
    if (trains.empty())
        return {};
    return QByteArray(reinterpret_cast<const char*>(trains.back().data()), qsizetype(trains.back().size()));
}

// 16-bit little-endian words as the device reports a capture.
inline std::vector<uint8_t> CaptureWords(std::initializer_list<int> words)
{
    std::vector<uint8_t> bytes;
    for (int word : words) {
        bytes.push_back(uint8_t(word & 0xFF));
        bytes.push_back(uint8_t((word >> 8) & 0xFF));
    }
    return bytes;
}
