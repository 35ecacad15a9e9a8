// A built remote as a user might be handed one: the design at the end of the
// file is read, and whatever is read must write out and read back the same.
#include "designer/BuiltRemote.h"
#include "designer/KeyTypes.h"

#include <QBuffer>
#include <QByteArray>

namespace {

QByteArray Program()
{
    return QByteArrayLiteral("\x7f" "ELF");
}

bool SameButtons(const std::vector<built::ButtonRecord>& a, const std::vector<built::ButtonRecord>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].keyType != b[i].keyType || a[i].rect != b[i].rect || a[i].code != b[i].code
            || a[i].caption != b[i].caption)
            return false;
    return true;
}

std::optional<built::Design> Read(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return built::ReadDesign(buffer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto design = Read(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!design)
        return 0;
    if (design->programLength < 0 || design->programLength >= qint64(size)
        || design->buttons.size() > size_t(built::kMaxButtons))
        __builtin_trap();
    for (const built::ButtonRecord& button : design->buttons)
        if (!keys::IsValidKeyType(button.keyType) || qAbs(button.rect.left) > built::kMaxCoordinate
            || qAbs(button.rect.bottom) > built::kMaxCoordinate)
            __builtin_trap();

    const QByteArray again = Program() + built::EncodeDesign(design->buttons, Program().size(), design->bodyIndex);
    const auto reread = Read(again);
    if (!reread || reread->bodyIndex != design->bodyIndex || !SameButtons(reread->buttons, design->buttons))
        __builtin_trap();
    return 0;
}
