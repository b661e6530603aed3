#include "FileSaving.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// The buffered write of a small file fails only when it is flushed, and QSaveFile::commit() still
// renames the truncated temporary file over the old one. So every step is checked here, and commit()
// runs only once the bytes are known to be on the disk.
bool WriteAndSync(QSaveFile& file, const QByteArray& bytes, QString& reason) {
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        reason = file.errorString();
        return false;
    }
    if (::fsync(file.handle()) != 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

bool Fail(const QString& reason, QString* error) {
    if (error) *error = reason;
    return false;
}

} // namespace

bool SaveFileWhole(const QString& fileName, const QByteArray& bytes, QString* error) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) return Fail(file.errorString(), error);
    QString reason;
    if (!WriteAndSync(file, bytes, reason)) {
        file.cancelWriting();
        file.commit(); // removes the temporary file; the old one is not touched
        return Fail(reason, error);
    }
    if (!file.commit()) return Fail(file.errorString(), error);
    return true;
}
