#include "sim/ipc/Socket.h"

#include "sim/ipc/Message.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace usbsim {

namespace {

bool FillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Waits until fd is ready for events; false on timeout or error.
bool WaitFor(int fd, short events, Deadline deadline)
{
    for (;;) {
        int timeoutMs = -1;
        if (deadline != NoDeadline()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            timeoutMs = static_cast<int>(std::min<int64_t>(left.count(), 60000));
        }
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, timeoutMs);
        if (ready > 0)
            return (entry.revents & (events | POLLHUP | POLLERR)) != 0;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

bool WriteAll(int fd, const uint8_t* data, size_t size, Deadline deadline)
{
    while (size > 0) {
        if (!WaitFor(fd, POLLOUT, deadline))
            return false;
        const ssize_t written = send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, uint8_t* data, size_t size, Deadline deadline)
{
    while (size > 0) {
        if (!WaitFor(fd, POLLIN, deadline))
            return false;
        const ssize_t got = recv(fd, data, size, MSG_DONTWAIT);
        if (got == 0)
            return false;
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return false;
        }
        data += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

} // namespace

std::string DefaultSocketPath()
{
    if (const char* path = std::getenv("WAVIX_SIM_SOCKET"); path && *path)
        return path;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::string(runtime) + "/wavix-sim.sock";
    return "/tmp/wavix-sim-" + std::to_string(getuid()) + ".sock";
}

int ConnectSocket(const std::string& path)
{
    sockaddr_un address;
    if (!FillAddress(path, address))
        return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    // A Unix socket connects at once or fails at once (EAGAIN when the
    // daemon's backlog is full); it never leaves us waiting.
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int ListenSocket(const std::string& path, std::string& error)
{
    sockaddr_un address;
    if (!FillAddress(path, address)) {
        error = "socket path is empty or too long: " + path;
        return -1;
    }
    if (const int existing = ConnectSocket(path); existing >= 0) {
        close(existing);
        error = "another daemon is already listening on " + path;
        return -1;
    }
    unlink(path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

bool SendMessage(int fd, const std::vector<uint8_t>& body, Deadline deadline)
{
    if (body.size() > kMaxMessageBytes)
        return false;
    std::vector<uint8_t> framed = MessageWriter().U32(static_cast<uint32_t>(body.size())).Data();
    framed.insert(framed.end(), body.begin(), body.end());
    return WriteAll(fd, framed.data(), framed.size(), deadline);
}

bool ReceiveMessage(int fd, std::vector<uint8_t>& body, Deadline deadline)
{
    uint8_t header[4];
    if (!ReadAll(fd, header, sizeof header, deadline))
        return false;
    const uint32_t size = static_cast<uint32_t>(header[0]) | static_cast<uint32_t>(header[1]) << 8 |
                          static_cast<uint32_t>(header[2]) << 16 | static_cast<uint32_t>(header[3]) << 24;
    if (size > kMaxMessageBytes)
        return false;
    body.clear();
    uint8_t chunk[64 * 1024];
    while (body.size() < size) {
        const size_t part = std::min(sizeof chunk, size - body.size());
        if (!ReadAll(fd, chunk, part, deadline))
            return false;
        body.insert(body.end(), chunk, chunk + part);
    }
    return true;
}

bool WaitReadable(int fd, Deadline deadline)
{
    return WaitFor(fd, POLLIN, deadline);
}

} // namespace usbsim
