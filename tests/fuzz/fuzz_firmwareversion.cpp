// Firmware versions as they come from outside: image file names in a folder
// anyone can write to, and the version text the device reports. Whatever the
// texts, the version found is four groups of one to three digits standing
// in the text, finding it again changes nothing, and the comparison is an
// order: each text equals itself, swapping the sides swaps the sign, and a
// text compares as the version found in it.
//
// Input: the device's text up to a 0x00 byte, then an image file name.

#include "analyzer/core/FirmwareImages.h"
#include "analyzer/core/FirmwareVersion.h"
#include "fuzz/FuzzInput.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = bytes.indexOf('\0');
    const QString device = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
    const QString image = split < 0 ? QString() : QString::fromUtf8(bytes.mid(split + 1));

    static const QRegularExpression versionShape(QStringLiteral("^\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"));
    for (const QString& text : {device, image}) {
        const QString version = NormalizeVersion(text);
        FuzzAssert(version.isEmpty() || (versionShape.match(version).hasMatch() && text.contains(version)));
        FuzzAssert(NormalizeVersion(version) == version);
        FuzzAssert(CompareVersions(text, text) == 0);
        FuzzAssert(CompareVersions(text, version) == 0);
    }
    const int forward = CompareVersions(image, device);
    FuzzAssert(forward >= -1 && forward <= 1);
    FuzzAssert(CompareVersions(device, image) == -forward);
    FuzzAssert(CompareVersions(NormalizeVersion(image), NormalizeVersion(device)) == forward);
    // The name test on its own never throws or reads past the text.
    (void)IsFirmwareImageName(image);
    return 0;
}
