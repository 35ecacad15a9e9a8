#include "analyzer/interop/ReadableFile.h"

#include <QFileInfo>

std::optional<QString> UnreadableFileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("is a directory");
    if (!info.isFile())
        return QStringLiteral("is not a regular file");
    return std::nullopt;
}
