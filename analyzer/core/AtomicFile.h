#pragma once

#include <QByteArray>
#include <QString>

// Why a write failed, for the messages that name a cause.
struct AtomicWriteResult {
    bool ok = false;
    int systemError = 0; // errno of the failing step, 0 when none was set
    QString errorText;   // the file object's own description
};

// Replaces the file at `path` with `bytes` as one step: the data goes to a
// temporary file beside it, which is renamed over the target only when every
// byte reached it. Any failure (a full disk, a read-only folder) leaves the
// previous file whole.
AtomicWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes);
