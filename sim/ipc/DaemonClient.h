#pragma once

#include "sim/ipc/Message.h"
#include "sim/ipc/Socket.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace usbsim {

// One connection to the daemon, shared by the threads of a process. Calls
// are serialised; a call that fails drops the connection and the next call
// connects again, so a restarted daemon is picked up.
class DaemonClient {
public:
    DaemonClient(std::string socketPath, std::string programName, int timeoutMs);
    ~DaemonClient();
    DaemonClient(const DaemonClient&) = delete;
    DaemonClient& operator=(const DaemonClient&) = delete;

    // request is the op byte and its fields; reply holds what follows the
    // status byte. False when the daemon cannot be reached in time or
    // refuses the request.
    bool Call(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply, uint64_t* session = nullptr);
    // As Call, but only on the connection `session` names: requests about a
    // handle must never reach a daemon that did not hand it out.
    bool CallInSession(uint64_t session, const std::vector<uint8_t>& request, std::vector<uint8_t>& reply);
    // Identifies the current connection; 0 while not connected. Handles from
    // an earlier connection mean nothing to a restarted daemon.
    uint64_t Session();
    const std::string& SocketPath() const { return socketPath; }

private:
    bool ConnectLocked(Deadline deadline);
    void DropLocked();
    bool ExchangeLocked(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply, Deadline deadline);

    std::mutex mutex;
    std::string socketPath;
    std::string programName;
    int timeoutMs;
    int fd = -1;
    uint64_t session = 0;
};

} // namespace usbsim
