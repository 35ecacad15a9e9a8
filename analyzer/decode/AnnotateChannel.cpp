#include "analyzer/decode/Annotation.h"

#include "analyzer/decode/ProtocolKind.h"
#include "analyzer/decode/ProtocolLayouts.h"
#include "analyzer/decode/ProtocolTable.h"

ChannelAnnotation AnnotateFrame(const PulseTrain& train, const ProtocolDescriptor& descriptor)
{
    ChannelAnnotation out;
    switch (KindOf(descriptor)) {
    case ProtocolKind::NecFamily:
        LayoutNecFamily(descriptor, train, out);
        break;
    case ProtocolKind::Haier:
        LayoutHaier(descriptor, train, out);
        break;
    case ProtocolKind::QuendarA:
        LayoutQuendar(descriptor, train, out);
        break;
    case ProtocolKind::Hitachi:
        LayoutHitachi(descriptor, train, out);
        break;
    case ProtocolKind::SonySirc:
        LayoutSonySirc(descriptor, train, out);
        break;
    case ProtocolKind::PhilipsRc5:
        LayoutPhilipsRc5(descriptor, train, out);
        break;
    case ProtocolKind::Other:
        out.codeLine = layout::CodePrefix(descriptor);
        break;
    }
    return out;
}

ChannelAnnotation AnnotateChannel(const PulseTrain& train, int protocolIndex)
{
    if (!IsProtocolIndex(protocolIndex))
        return {};
    ChannelAnnotation out = AnnotateFrame(train, ProtocolTable[protocolIndex]);
    out.protocol = protocolIndex;
    return out;
}
