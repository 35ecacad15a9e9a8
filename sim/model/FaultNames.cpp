#include "sim/model/FaultNames.h"

namespace usbsim {

namespace {

struct NamedFault {
    Fault fault;
    const char* name;
};

constexpr NamedFault kNames[] = {
    {Fault::OpenFails, "open-fails"},
    {Fault::Timeout, "timeout"},
    {Fault::ShortReply, "short-reply"},
    {Fault::OversizedReply, "oversized-reply"},
    {Fault::EmptyReply, "empty-reply"},
    {Fault::WrongStatusMarker, "wrong-status-marker"},
    {Fault::ClaimFails, "claim-fails"},
    {Fault::ShortBulk, "short-bulk"},
    {Fault::UnplugMidTransfer, "unplug-mid-transfer"},
    {Fault::FailChunk, "fail-chunk"},
    {Fault::NoBootloader, "no-bootloader"},
};

} // namespace

std::string FaultName(Fault fault)
{
    for (const NamedFault& named : kNames)
        if (named.fault == fault)
            return named.name;
    return "none";
}

std::optional<Fault> FaultFromName(const std::string& name)
{
    for (const NamedFault& named : kNames)
        if (name == named.name)
            return named.fault;
    return std::nullopt;
}

std::vector<Fault> AllFaults()
{
    std::vector<Fault> faults;
    for (const NamedFault& named : kNames)
        faults.push_back(named.fault);
    return faults;
}

std::optional<Fault> FaultFromNumber(int number)
{
    for (const NamedFault& named : kNames)
        if (static_cast<int>(named.fault) == number)
            return named.fault;
    return std::nullopt;
}

} // namespace usbsim
