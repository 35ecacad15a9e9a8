#include "analyzer/decode/ProtocolKind.h"

#include <cwchar>

ProtocolKind KindOf(const ProtocolDescriptor& descriptor)
{
    struct NamedKind {
        const wchar_t* name;
        ProtocolKind kind;
    };
    static constexpr NamedKind kKinds[] = {
        {L"NEC", ProtocolKind::NecFamily},      {L"NEC1-X2", ProtocolKind::NecFamily},
        {L"Haier", ProtocolKind::Haier},        {L"Quendar-A", ProtocolKind::QuendarA},
        {L"HITACHI", ProtocolKind::Hitachi},    {L"Sony SIRC", ProtocolKind::SonySirc},
        {L"Philips RC-5", ProtocolKind::PhilipsRc5},
    };
    if (!descriptor.name)
        return ProtocolKind::Other;
    for (const NamedKind& entry : kKinds) {
        if (std::wcscmp(entry.name, descriptor.name) == 0)
            return entry.kind;
    }
    return ProtocolKind::Other;
}
