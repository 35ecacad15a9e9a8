#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace usbsim {

using Deadline = std::chrono::steady_clock::time_point;
inline Deadline DeadlineIn(int ms) { return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms); }
inline Deadline NoDeadline() { return Deadline::max(); }

// $WAVIX_SIM_SOCKET, else $XDG_RUNTIME_DIR/wavix-sim.sock, else
// /tmp/wavix-sim-<uid>.sock.
std::string DefaultSocketPath();

// A connected Unix stream socket, or -1. Never waits for a daemon that does
// not accept.
int ConnectSocket(const std::string& path);
// A listening socket bound to path, or -1 with the reason in error. A stale
// socket file left by a dead daemon is replaced; a live daemon is not.
int ListenSocket(const std::string& path, std::string& error);

// One message is a 32-bit little-endian length and that many bytes. The body
// grows as its bytes arrive: a length alone allocates nothing.
bool SendMessage(int fd, const std::vector<uint8_t>& body, Deadline deadline);
bool ReceiveMessage(int fd, std::vector<uint8_t>& body, Deadline deadline);
// Waits until fd has something to read (or its peer left); false on timeout.
bool WaitReadable(int fd, Deadline deadline);

} // namespace usbsim
