// A language pack as a user might drop one into the Language folder: listed,
// selected, and every text the program asks for looked up.
#include "analyzer/lang/LanguagePack.h"
#include "analyzer/lang/MultiLanguage.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const char* const kSections[][2] = {
    {"Setting", "Language"},          {"IDD_102", "IDD_102_Title"},    {"IDD_102", "IDD_102_1015"},
    {"IDD_137", "IDD_137_-1"},        {"MENU_131", "MENU_131_0_3"},    {"MENU_139", "MENU_139_32787"},
    {"SPECIAL_STRING", "IDS_CHANNEL"}, {"SPECIAL_STRING", "IDS_START"}, {"special_string", "ids_device_nc"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static const bool made = QDir().mkpath(folder.filePath(QStringLiteral("Language")));
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const LanguagePack pack = LanguagePack::Parse(bytes);
    for (const auto& text : kSections)
        if (const auto value = pack.Text(QLatin1String(text[0]), QLatin1String(text[1])); value && value->size() > 999)
            __builtin_trap();

    QFile file(folder.filePath(QStringLiteral("Language/pack.ini")));
    if (!made || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 0;
    file.close();
    CMultiLanguage language(folder.path());
    const QStringList names = language.ListLanguages();
    if (names.size() > 1 || (!names.isEmpty() && names.first().size() > LanguagePack::kMaxNameLength))
        __builtin_trap();
    if (!names.isEmpty() && !language.SelectLanguage(names.first()))
        __builtin_trap(); // a listed name always finds its pack
    for (const auto& text : kSections) {
        language.LookupText(QLatin1String(text[0]), QLatin1String(text[1]));
        language.WindowText(QLatin1String(text[0]), QLatin1String(text[1]));
    }
    return 0;
}
