// A language pack as a user might drop one into the Language folder: its
// name read as the Language menu reads it, the pack read whole, and the texts
// the windows ask for looked up.
#include "analyzer/lang/LanguagePack.h"
#include "analyzer/settings/ProfileFile.h"

#include <QByteArray>

namespace {

const char* const kTexts[][2] = {
    {"Setting", "Language"},          {"IDD_102", "IDD_102_Title"},    {"IDD_102", "IDD_102_1015"},
    {"IDD_137", "IDD_137_-1"},        {"MENU_131", "MENU_131_0_3"},    {"MENU_139", "MENU_139_32787"},
    {"SPECIAL_STRING", "IDS_CHANNEL"}, {"SPECIAL_STRING", "IDS_START"}, {"special_string", "ids_device_nc"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QString> name =
        ProfileFile(bytes).Value(QStringLiteral("Setting"), QStringLiteral("Language"), LanguagePack::kMaxNameLength);
    if (name && name->size() > LanguagePack::kMaxNameLength)
        __builtin_trap();

    const LanguagePack pack = LanguagePack::Parse(bytes);
    for (const auto& text : kTexts) {
        const std::optional<QString> value = pack.Text(QLatin1String(text[0]), QLatin1String(text[1]));
        if (value && value->size() > ProfileFile::kMaxValueLength)
            __builtin_trap();
    }
    // The pack and the menu agree on the name, up to its length limit.
    const std::optional<QString> packName = pack.Text(QStringLiteral("setting"), QStringLiteral("language"));
    if (name.has_value() != packName.has_value() || (name && !packName->startsWith(*name)))
        __builtin_trap();
    return 0;
}
