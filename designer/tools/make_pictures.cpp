// Draws every picture the designer embeds into the folder given, as
// png/<number>.png, bitmap/<number>.bmp and icon/128.png.
#include "designer/KeyTypes.h"
#include "designer/RemoteLayout.h"
#include "designer/tools/PictureArt.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

namespace {

bool Save(const QImage& image, const QString& folder, int number, const char* suffix, const char* format)
{
    const QString path = QStringLiteral("%1/%2.%3").arg(folder).arg(number).arg(QLatin1String(suffix));
    if (image.save(path, format))
        return true;
    QTextStream(stderr) << "cannot write " << path << "\n";
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: remote-pictures <folder>\n";
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const char* sub : {"png", "bitmap", "icon"})
        root.mkpath(QLatin1String(sub));
    const QString png = root.filePath(QStringLiteral("png"));
    const QString bitmap = root.filePath(QStringLiteral("bitmap"));

    bool ok = true;
    for (int type = 0; type < keys::kKeyTypeCount; ++type) {
        const keys::KeyType& key = keys::Key(type);
        ok &= Save(DrawKeyFace(type, FaceState::Normal), png, key.normalPicture, "png", "PNG");
        if (key.hoverPicture != key.normalPicture)
            ok &= Save(DrawKeyFace(type, FaceState::Hover), png, key.hoverPicture, "png", "PNG");
        if (key.pressedPicture != key.normalPicture)
            ok &= Save(DrawKeyFace(type, FaceState::Pressed), png, key.pressedPicture, "png", "PNG");
    }
    for (int body = 0; body < keys::kBodyCount; ++body)
        ok &= Save(DrawBody(body), png, keys::BodyAt(body).picture, "png", "PNG");

    // The small buttons sit on the window's button-shadow grey.
    const QColor shadow(0xa0, 0xa0, 0xa0);
    const struct {
        int number;
        bool plus;
        FaceState state;
    } small[] = {
        {remote::kAddKeyNormal, true, FaceState::Normal},        {remote::kAddKeyHover, true, FaceState::Hover},
        {remote::kAddKeyPressed, true, FaceState::Pressed},      {remote::kDeleteKeysNormal, false, FaceState::Normal},
        {remote::kDeleteKeysHover, false, FaceState::Hover},     {remote::kDeleteKeysPressed, false, FaceState::Pressed},
    };
    for (const auto& s : small)
        ok &= Save(DrawSmallButton(s.plus, s.state, shadow), bitmap, s.number, "bmp", "BMP");

    ok &= Save(DrawIcon(), root.filePath(QStringLiteral("icon")), remote::kIcon, "png", "PNG");
    return ok ? 0 : 1;
}
