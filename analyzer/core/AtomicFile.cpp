#include "analyzer/core/AtomicFile.h"

#include <QSaveFile>

#include <cerrno>

namespace {

AtomicWriteResult Failed(QSaveFile& file, int systemError)
{
    AtomicWriteResult result;
    result.systemError = systemError;
    result.errorText = file.errorString();
    if (file.isOpen())
        file.cancelWriting();
    return result;
}

} // namespace

AtomicWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    errno = 0;
    // Unbuffered: a buffered write that fails only when the buffer is flushed
    // inside commit() is not noticed there, and the short file would replace
    // the good one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failed(file, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return Failed(file, errno);
    errno = 0;
    if (!file.commit())
        return Failed(file, errno);
    AtomicWriteResult result;
    result.ok = true;
    return result;
}
