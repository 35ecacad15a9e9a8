#include "sim/daemon/DaemonServer.h"

#include "sim/daemon/DaemonSession.h"
#include "sim/ipc/Socket.h"
#include "sim/model/DeviceModel.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace usbsim {

namespace {

int signalPipe[2] = {-1, -1};

constexpr int kMaxClients = 64;
std::atomic<int> activeClients{0};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(signalPipe[1], &byte, 1);
}

} // namespace

int RunDaemon(const DaemonOptions& options)
{
    // Never destroyed: client threads may still be running when we leave.
    std::random_device entropy;
    static DeviceModel* model = new DeviceModel(1000 + (static_cast<uint64_t>(entropy()) << 24));
    model->SetLoopback(options.loopback);
    model->SetReenumerationDelayMs(options.reenumerationDelayMs);
    if (options.unplugged)
        model->Unplug();
    if (!options.expectedImageName.empty())
        model->ExpectFirmware(options.expectedImageName, options.expectedImage);
    model->SetChunkWriteMs(options.chunkWriteMs);
    if (!options.imageVersion.empty())
        model->SetImageVersion(options.imageVersion);

    std::string error;
    const int listener = ListenSocket(options.socketPath, error);
    if (listener < 0) {
        std::fprintf(stderr, "wavix-sim: %s\n", error.c_str());
        return 1;
    }
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("wavix-sim: pipe");
        return 1;
    }
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::printf("wavix-sim daemon listening on %s\n", options.socketPath.c_str());
    std::fflush(stdout);

    const uint64_t sessionBase = (static_cast<uint64_t>(entropy()) << 32) | 1;
    int nextOwner = 1;
    uint64_t logCursor = 0;
    for (;;) {
        pollfd entries[2] = {{listener, POLLIN, 0}, {signalPipe[0], POLLIN, 0}};
        const int ready = poll(entries, 2, 200);
        if (options.verbose) {
            for (const std::string& line : model->LogSince(logCursor))
                std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        }
        if (ready < 0)
            continue;
        if (entries[1].revents)
            break;
        if (entries[0].revents & POLLIN) {
            const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            // Each client holds a thread; a program opening connections in
            // a loop must not exhaust the daemon.
            if (activeClients.load() >= kMaxClients) {
                close(client);
                continue;
            }
            const int owner = nextOwner++;
            ++activeClients;
            std::thread([client, owner, id = sessionBase + static_cast<uint64_t>(owner) * 2] {
                ServeClient(*model, client, owner, id);
                --activeClients;
            }).detach();
        }
    }
    close(listener);
    unlink(options.socketPath.c_str());
    std::printf("wavix-sim daemon stopped\n");
    return 0;
}

} // namespace usbsim
