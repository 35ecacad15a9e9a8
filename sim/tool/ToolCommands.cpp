#include "sim/tool/ToolCommands.h"

#include "sim/daemon/DaemonServer.h"
#include "sim/ipc/DaemonClient.h"
#include "sim/model/CaptureCodec.h"
#include "sim/model/FaultNames.h"
#include "sim/remotes/CaptureFile.h"
#include "sim/tool/FirmwareFile.h"
#include "sim/remotes/SampleRemotes.h"
#include "sim/tool/ToolArgs.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <thread>

namespace usbsim {

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitNoDaemon = 2;
constexpr int kExitFailed = 3;

const char* const kUsage = R"(usage: wavix-sim [--socket PATH] COMMAND [ARGS]

  daemon [--unplugged] [--no-loopback] [--reenumerate-ms N] [--verbose]
         [--firmware FILE.UPF] [--firmware-version V] [--flash-ms N]
                          host the simulated device (runs in the foreground)
  remotes                 list the sample remotes and their keys
  press REMOTE KEY [--hold N] [--toggle 0|1] [--seed N] [--jitter PCT]
                          queue the capture a real remote sends for one press
  demo [--interval MS]    press a key of another remote every few seconds
  play FILE.lgc [--channel 1-4]
                          queue one channel of a capture file
  plug | unplug           connect or disconnect the device
  replug                  unplug and plug at once, as a new enumeration (faster than any rescan)
  status                  show the device's state
  fault NAME [COUNT] [--after N]
                          make the device misbehave COUNT times (default: until cleared),
                          after letting N chances pass (--after 1: the second claim fails)
  fault clear             clear all faults
  log [--follow]          show what the programs sent
  identity [--name T] [--version T] [--serial N] [--type T]
                          show or change what the device reports about itself
  loopback [on|off]       show or switch the IR loop-back (a sent train comes back as a capture)
  firmware [--expect FILE.UPF] [--version V]
                          show the firmware image the bootloader received (length, CRC-32,
                          intact or not) and the versions; --expect names the image the
                          programs should send (its name gives the new version), --version
                          sets the version the next image carries

The socket is --socket, else $WAVIX_SIM_SOCKET, else $XDG_RUNTIME_DIR/wavix-sim.sock,
else /tmp/wavix-sim-<uid>.sock.
)";

int Usage(const std::string& problem)
{
    if (problem.empty())
        std::fputs(kUsage, stdout);
    else
        std::fprintf(stderr, "wavix-sim: %s\n(see: wavix-sim help)\n", problem.c_str());
    return problem.empty() ? 0 : kExitUsage;
}

class Tool {
public:
    Tool(ToolArgs args, std::string socketPath)
        : args(std::move(args)), socketPath(socketPath), client(socketPath, "wavix-sim", 2000)
    {
    }

    int Run();

private:
    // Sends one request; on failure prints why and returns nothing.
    bool Call(const MessageWriter& request, std::vector<uint8_t>& reply);
    bool Simple(Op op) { std::vector<uint8_t> reply; return Call(MessageWriter().U8(static_cast<uint8_t>(op)), reply); }
    bool Queue(const std::vector<uint8_t>& capture, int& pending);

    int Daemon();
    int Remotes();
    int Press();
    int Demo();
    int Play();
    int PlugOrUnplug(bool plug);
    int Replug();
    int Status();
    int Fault();
    int Log();
    int Identity();
    int Loopback();
    int Firmware();

    ToolArgs args;
    std::string socketPath;
    DaemonClient client;
    bool daemonMissing = false;
};

bool Tool::Call(const MessageWriter& request, std::vector<uint8_t>& reply)
{
    if (client.Call(request.Data(), reply))
        return true;
    if (client.Session() == 0) {
        std::fprintf(stderr,
                     "wavix-sim: the simulated device is not running (no daemon at %s).\n"
                     "Start it with: wavix-sim daemon\n",
                     socketPath.c_str());
        daemonMissing = true;
    } else {
        std::fprintf(stderr, "wavix-sim: the daemon refused the request\n");
    }
    return false;
}

bool Tool::Queue(const std::vector<uint8_t>& capture, int& pending)
{
    std::vector<uint8_t> reply;
    if (!Call(MessageWriter().U8(static_cast<uint8_t>(Op::QueueCapture)).Bytes(capture), reply))
        return false;
    MessageReader in(reply);
    const bool taken = in.U8() != 0;
    pending = in.I32();
    if (in.Ok() && !taken)
        std::fprintf(stderr, "wavix-sim: the device took no capture: it is unplugged or in its bootloader\n");
    return in.Ok() && taken;
}

int Tool::Run()
{
    const std::string command = args.positional.empty() ? "" : args.positional.front();
    int code = kExitUsage;
    if (command.empty() || command == "help" || args.Has("--help"))
        return Usage("");
    if (command == "daemon")
        return Daemon();
    if (command == "remotes")
        return Remotes();
    if (command == "press")
        code = Press();
    else if (command == "demo")
        code = Demo();
    else if (command == "play")
        code = Play();
    else if (command == "plug" || command == "unplug")
        code = PlugOrUnplug(command == "plug");
    else if (command == "replug")
        code = Replug();
    else if (command == "status")
        code = Status();
    else if (command == "fault")
        code = Fault();
    else if (command == "log")
        code = Log();
    else if (command == "identity")
        code = Identity();
    else if (command == "loopback")
        code = Loopback();
    else if (command == "firmware")
        code = Firmware();
    else
        return Usage("unknown command: " + command);
    return daemonMissing ? kExitNoDaemon : code;
}

int Tool::Daemon()
{
    DaemonOptions options;
    options.socketPath = socketPath;
    options.unplugged = args.Has("--unplugged");
    options.loopback = !args.Has("--no-loopback");
    options.verbose = args.Has("--verbose");
    const auto delay = args.Number("--reenumerate-ms", options.reenumerationDelayMs, 0, 10000);
    if (!delay)
        return Usage(args.error);
    options.reenumerationDelayMs = static_cast<int>(*delay);
    const auto flashMs = args.Number("--flash-ms", 0, 0, 1000);
    if (!flashMs)
        return Usage(args.error);
    options.chunkWriteMs = static_cast<int>(*flashMs);
    options.imageVersion = args.Option("--firmware-version").value_or("");
    if (const auto path = args.Option("--firmware")) {
        std::string error;
        const auto image = ReadFirmwareFile(*path, error);
        if (!image)
            return Usage(error);
        options.expectedImageName = image->name;
        options.expectedImage = image->bytes;
    }
    return RunDaemon(options);
}

int Tool::Remotes()
{
    for (const SampleRemote& remote : SampleRemotes()) {
        std::printf("%-12s %-18s %s\n             keys:", remote.name.c_str(), remote.protocol.c_str(),
                    remote.description.c_str());
        for (const std::string& key : remote.keys)
            std::printf(" %s", key.c_str());
        std::printf("\n");
    }
    return 0;
}

int Tool::Press()
{
    if (args.positional.size() != 3)
        return Usage("press needs a remote and a key (see: wavix-sim remotes)");
    PressSettings settings;
    const auto hold = args.Number("--hold", 0, 0, 1000);
    const auto toggle = args.Number("--toggle", 0, 0, 1);
    const auto seed = args.Number("--seed", std::random_device{}(), 0, UINT32_MAX);
    const auto jitter = args.Number("--jitter", 3, 0, 20);
    if (!hold || !toggle || !seed || !jitter)
        return Usage(args.error);
    settings.hold = static_cast<int>(*hold);
    settings.toggle = static_cast<int>(*toggle);
    settings.seed = static_cast<uint32_t>(*seed);
    settings.jitterPermille = static_cast<int>(*jitter * 10);
    const std::string& remote = args.positional[1];
    const std::string& key = args.positional[2];
    const auto train = PressSampleKey(remote, key, settings);
    if (!train)
        return Usage("no key \"" + key + "\" on a remote \"" + remote + "\" (see: wavix-sim remotes)");
    const std::vector<uint8_t> capture = EncodeCapture(1, *train);
    int pending = 0;
    if (!Queue(capture, pending))
        return kExitFailed;
    std::printf("queued %s %s: %zu pulses, %zu bytes (%d capture%s waiting)\n", remote.c_str(), key.c_str(),
                std::min(train->size(), static_cast<size_t>(kMaxCaptureDurations)), capture.size(), pending,
                pending == 1 ? "" : "s");
    return 0;
}

int Tool::Demo()
{
    const auto interval = args.Number("--interval", 3000, 100, 3600000);
    if (!interval)
        return Usage(args.error);
    const auto& remotes = SampleRemotes();
    std::mt19937 random(std::random_device{}());
    int toggle = 0;
    std::printf("demo: a key press every %lld ms; stop with Ctrl+C\n", *interval);
    for (size_t i = 0;; ++i) {
        const SampleRemote& remote = remotes[i % remotes.size()];
        const std::string& key = remote.keys[(i / remotes.size()) % remote.keys.size()];
        PressSettings settings;
        settings.seed = random();
        if (remote.protocol == "Philips RC-5")
            settings.toggle = toggle ^= 1;
        int pending = 0;
        if (!Queue(EncodeCapture(1, *PressSampleKey(remote.name, key, settings)), pending))
            return kExitFailed;
        std::printf("demo: pressed %s %s (%s)\n", remote.name.c_str(), key.c_str(), remote.protocol.c_str());
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(*interval));
    }
}

int Tool::Play()
{
    if (args.positional.size() != 2)
        return Usage("play needs a capture file");
    const auto channelOption = args.Number("--channel", 0, 1, 4);
    if (!channelOption)
        return Usage(args.error);
    const auto channels = ReadCaptureFile(args.positional[1]);
    if (!channels) {
        std::fprintf(stderr, "wavix-sim: cannot read %s\n", args.positional[1].c_str());
        return kExitFailed;
    }
    // Without --channel, the first channel that holds pulses.
    const CaptureChannel* chosen = nullptr;
    for (const CaptureChannel& channel : *channels) {
        const bool wanted = *channelOption ? channel.channel + 1 == static_cast<uint32_t>(*channelOption)
                                           : !channel.durationsUs.empty();
        if (wanted) {
            chosen = &channel;
            break;
        }
    }
    if (!chosen) {
        const std::string what = *channelOption ? "channel " + std::to_string(*channelOption) : "pulses";
        std::fprintf(stderr, "wavix-sim: %s holds no %s\n", args.positional[1].c_str(), what.c_str());
        return kExitFailed;
    }
    const std::vector<uint8_t> capture = EncodeCapture(chosen->startLevel, chosen->durationsUs);
    int pending = 0;
    if (!Queue(capture, pending))
        return kExitFailed;
    std::printf("queued channel %u of %s: %zu pulses, %zu bytes (%d waiting)\n", chosen->channel + 1,
                args.positional[1].c_str(), std::min(chosen->durationsUs.size(), static_cast<size_t>(kMaxCaptureDurations)),
                capture.size(), pending);
    return 0;
}

int Tool::PlugOrUnplug(bool plug)
{
    if (!Simple(plug ? Op::Plug : Op::Unplug))
        return kExitFailed;
    std::printf("device %s\n", plug ? "plugged in" : "unplugged");
    return 0;
}

int Tool::Replug()
{
    if (!Simple(Op::Replug))
        return kExitFailed;
    std::printf("device replugged\n");
    return 0;
}

int Tool::Status()
{
    std::vector<uint8_t> reply;
    if (!Call(MessageWriter().U8(static_cast<uint8_t>(Op::Status)), reply))
        return kExitFailed;
    MessageReader in(reply);
    std::printf("socket: %s\n%s", socketPath.c_str(), in.Str().c_str());
    return 0;
}

int Tool::Fault()
{
    if (args.positional.size() < 2 || args.positional.size() > 3)
        return Usage("fault needs a name (or \"clear\") and an optional count");
    const std::string& name = args.positional[1];
    int faultNumber = 0;
    int count = -1;
    const auto after = args.Number("--after", 0, 0, 1000000);
    if (!after)
        return Usage(args.error);
    if (name != "clear") {
        const auto fault = FaultFromName(name);
        if (!fault) {
            std::string names;
            for (usbsim::Fault known : AllFaults())
                names += " " + FaultName(known);
            return Usage("unknown fault \"" + name + "\"; known:" + names);
        }
        faultNumber = static_cast<int>(*fault);
        if (args.positional.size() == 3) {
            const auto parsed = ParseNumber(args.positional[2], 1, 1000000);
            if (!parsed)
                return Usage("the count must be a whole number from 1 to 1000000");
            count = static_cast<int>(*parsed);
        }
    }
    std::vector<uint8_t> reply;
    if (!Call(MessageWriter()
                  .U8(static_cast<uint8_t>(Op::Fault))
                  .I32(faultNumber)
                  .I32(count)
                  .I32(static_cast<int>(*after)),
              reply))
        return kExitFailed;
    const std::string delay = *after ? " after " + std::to_string(*after) + " use" + (*after == 1 ? "" : "s") : "";
    if (!faultNumber)
        std::printf("all faults cleared\n");
    else if (count < 0)
        std::printf("fault %s on until cleared%s\n", name.c_str(), delay.c_str());
    else
        std::printf("fault %s on for %d use%s%s\n", name.c_str(), count, count == 1 ? "" : "s", delay.c_str());
    return 0;
}

volatile std::sig_atomic_t stopFollowing = 0;

int Tool::Log()
{
    const bool follow = args.Has("--follow");
    if (follow) {
        std::signal(SIGINT, [](int) { stopFollowing = 1; });
        std::signal(SIGTERM, [](int) { stopFollowing = 1; });
    }
    uint64_t cursor = 0;
    for (;;) {
        std::vector<uint8_t> reply;
        if (!Call(MessageWriter().U8(static_cast<uint8_t>(Op::Log)).U64(cursor), reply))
            return kExitFailed;
        MessageReader in(reply);
        cursor = in.U64();
        const uint32_t count = in.U32();
        for (uint32_t i = 0; i < count && in.Ok(); ++i)
            std::printf("%s\n", in.Str().c_str());
        std::fflush(stdout);
        if (count > 0 && in.Ok())
            continue; // more may be waiting
        if (!follow || stopFollowing)
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (stopFollowing)
            return 0;
    }
}

int Tool::Identity()
{
    uint8_t mask = 0;
    const auto name = args.Option("--name");
    const auto version = args.Option("--version");
    const auto type = args.Option("--type");
    const auto serial = args.Number("--serial", 0, 0, UINT32_MAX);
    if (!serial)
        return Usage(args.error);
    mask |= name ? IdentityField::kName : 0;
    mask |= version ? IdentityField::kVersion : 0;
    mask |= args.Option("--serial") ? IdentityField::kSerial : 0;
    mask |= type ? IdentityField::kType : 0;
    std::vector<uint8_t> reply;
    MessageWriter request;
    request.U8(static_cast<uint8_t>(Op::Identity))
        .U8(mask)
        .Str(name.value_or(""))
        .Str(version.value_or(""))
        .U32(static_cast<uint32_t>(*serial))
        .Str(type.value_or(""));
    if (!Call(request, reply))
        return kExitFailed;
    MessageReader in(reply);
    const std::string currentName = in.Str(), currentVersion = in.Str();
    const uint32_t currentSerial = in.U32();
    const std::string currentType = in.Str();
    std::printf("name: %s\nversion: %s\nserial: %010u\ntype: %s\n", currentName.c_str(), currentVersion.c_str(),
                currentSerial, currentType.c_str());
    if (mask)
        std::printf("(the programs read the new identity when they next open the device: unplug and plug to force it)\n");
    return 0;
}

int Tool::Loopback()
{
    LoopbackMode mode = LoopbackMode::Ask;
    if (args.positional.size() == 2) {
        if (args.positional[1] != "on" && args.positional[1] != "off")
            return Usage("loopback takes on or off");
        mode = args.positional[1] == "on" ? LoopbackMode::On : LoopbackMode::Off;
    }
    std::vector<uint8_t> reply;
    if (!Call(MessageWriter().U8(static_cast<uint8_t>(Op::Loopback)).U8(static_cast<uint8_t>(mode)), reply))
        return kExitFailed;
    MessageReader in(reply);
    std::printf("loop-back: %s\n", in.U8() ? "on" : "off");
    return 0;
}

int Tool::Firmware()
{
    if (args.positional.size() != 1)
        return Usage("firmware takes only --expect FILE and --version V");
    uint8_t mask = 0;
    const auto version = args.Option("--version");
    mask |= version ? FirmwareField::kVersion : 0;
    FirmwareFile expected;
    if (const auto path = args.Option("--expect")) {
        std::string error;
        auto image = ReadFirmwareFile(*path, error);
        if (!image)
            return Usage(error);
        expected = std::move(*image);
        mask |= FirmwareField::kExpected;
    }
    std::vector<uint8_t> reply;
    MessageWriter request;
    request.U8(static_cast<uint8_t>(Op::Firmware)).U8(mask).Str(version.value_or("")).Str(expected.name).Bytes(expected.bytes);
    if (!Call(request, reply))
        return kExitFailed;
    MessageReader in(reply);
    std::printf("%s", in.Str().c_str());
    return 0;
}

} // namespace

int RunTool(int argc, char** argv)
{
    ToolArgs args = ParseToolArgs(argc, argv);
    if (!args.error.empty())
        return Usage(args.error);
    const std::string socketPath = args.Option("--socket").value_or(DefaultSocketPath());
    return Tool(std::move(args), socketPath).Run();
}

} // namespace usbsim
