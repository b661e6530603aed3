#pragma once
// The one way the program writes a file: the new bytes go to a temporary file beside the old one,
// which is replaced only once every byte has reached the disk. A failed save reports failure and
// leaves the old file whole; settings, game files, exported positions and pictures all save here.

#include <QByteArray>
#include <QString>

// Writes `bytes` as the whole new content of `fileName`. False, with the reason in `error` when
// given, if any step fails (creating the temporary file, writing, flushing, syncing, replacing).
bool SaveFileWhole(const QString& fileName, const QByteArray& bytes, QString* error = nullptr);
