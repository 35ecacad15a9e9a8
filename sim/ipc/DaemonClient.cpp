#include "sim/ipc/DaemonClient.h"

#include <unistd.h>

namespace usbsim {

DaemonClient::DaemonClient(std::string socketPath, std::string programName, int timeoutMs)
    : socketPath(std::move(socketPath)), programName(std::move(programName)), timeoutMs(timeoutMs)
{
}

DaemonClient::~DaemonClient()
{
    std::lock_guard lock(mutex);
    DropLocked();
}

void DaemonClient::DropLocked()
{
    if (fd >= 0)
        close(fd);
    fd = -1;
    session = 0;
}

bool DaemonClient::ConnectLocked(Deadline deadline)
{
    fd = ConnectSocket(socketPath);
    if (fd < 0)
        return false;
    const auto hello = MessageWriter()
                           .U8(static_cast<uint8_t>(Op::Hello))
                           .Str(programName)
                           .U32(static_cast<uint32_t>(getpid()))
                           .Data();
    std::vector<uint8_t> reply;
    if (!SendMessage(fd, hello, deadline) || !ReceiveMessage(fd, reply, deadline)) {
        DropLocked();
        return false;
    }
    MessageReader reader(reply);
    const uint8_t status = reader.U8();
    const uint64_t id = reader.U64();
    if (!reader.Ok() || status != kStatusOk || id == 0) {
        DropLocked();
        return false;
    }
    session = id;
    return true;
}

bool DaemonClient::ExchangeLocked(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply,
                                  Deadline deadline)
{
    std::vector<uint8_t> answer;
    if (!SendMessage(fd, request, deadline) || !ReceiveMessage(fd, answer, deadline) || answer.empty()) {
        DropLocked();
        return false;
    }
    if (answer[0] != kStatusOk)
        return false;
    reply.assign(answer.begin() + 1, answer.end());
    return true;
}

bool DaemonClient::Call(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply, uint64_t* usedSession)
{
    std::lock_guard lock(mutex);
    const Deadline deadline = DeadlineIn(timeoutMs);
    if (fd < 0 && !ConnectLocked(deadline))
        return false;
    const uint64_t current = session;
    if (!ExchangeLocked(request, reply, deadline))
        return false;
    if (usedSession)
        *usedSession = current;
    return true;
}

bool DaemonClient::CallInSession(uint64_t expected, const std::vector<uint8_t>& request, std::vector<uint8_t>& reply)
{
    std::lock_guard lock(mutex);
    if (fd < 0 || expected == 0 || session != expected)
        return false;
    return ExchangeLocked(request, reply, DeadlineIn(timeoutMs));
}

uint64_t DaemonClient::Session()
{
    std::lock_guard lock(mutex);
    return session;
}

} // namespace usbsim
