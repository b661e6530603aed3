// Saving a file: a failed save reports failure and leaves the old file whole, whichever step fails.

#include "FileSaving.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sys/mount.h>

namespace {

QByteArray ReadFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}

constexpr auto OldContent = "[Common]\nPlaySound=1\n";
constexpr qint64 TinyFilesystemBytes = 64 * 1024;
constexpr qint64 FillChunk = 4096;

// Writes until the filesystem is full.
void Fill(const QString& name) {
    QFile filler(name);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) qFatal("cannot create the filler");
    const QByteArray chunk(FillChunk, 'f');
    while (filler.write(chunk) == chunk.size()) {
    }
}

} // namespace

class TestFileSaving : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replacesTheFileWhole();
    void failedFlushKeepsTheOldFile_data();
    void failedFlushKeepsTheOldFile();
    void fullFilesystemKeepsTheOldFile();
};

void TestFileSaving::replacesTheFileWhole() {
    QTemporaryDir dir;
    const QString name = dir.filePath("tessaron.ini");
    QVERIFY(SaveFileWhole(name, OldContent));
    QVERIFY(SaveFileWhole(name, "[Common]\nPlaySound=0\n"));
    QCOMPARE(ReadFile(name), "[Common]\nPlaySound=0\n");
    QCOMPARE(FilesIn(dir.path()), QStringList({"tessaron.ini"})); // no temporary file left behind
    QString error;
    QVERIFY(!SaveFileWhole(dir.filePath("missing-folder/x.ini"), "x", &error));
    QVERIFY(!error.isEmpty());
}

void TestFileSaving::failedFlushKeepsTheOldFile_data() {
    QTest::addColumn<int>("size");
    // A small file sits in the write buffer until it is flushed; a large one fails on the write itself.
    QTest::newRow("fails on flush") << 1000;
    QTest::newRow("fails on write") << 1'000'000;
}

void TestFileSaving::failedFlushKeepsTheOldFile() {
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString name = dir.filePath("tessaron.ini");
    QVERIFY(SaveFileWhole(name, OldContent));
    bool saved = true;
    QString error;
    {
        const FileSizeLimit diskFull(100);
        saved = SaveFileWhole(name, QByteArray(size, 'x'), &error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(ReadFile(name), OldContent);
    QCOMPARE(FilesIn(dir.path()), QStringList({"tessaron.ini"}));
}

void TestFileSaving::fullFilesystemKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString mountPoint = dir.filePath("tiny");
    QVERIFY(QDir().mkpath(mountPoint));
    const QByteArray options = "size=" + QByteArray::number(TinyFilesystemBytes);
    if (mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, options.constData()) != 0)
        QSKIP(qPrintable("no tmpfs can be mounted here: " + QString::fromLocal8Bit(strerror(errno))));
    const auto unmount = qScopeGuard([&] { umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH); });

    const QString name = mountPoint + "/tessaron.ini";
    QVERIFY(SaveFileWhole(name, OldContent));
    Fill(mountPoint + "/filler");
    QVERIFY(!SaveFileWhole(name, QByteArray(1000, 'x')));
    QCOMPARE(ReadFile(name), OldContent);
    QCOMPARE(FilesIn(mountPoint), QStringList({"filler", "tessaron.ini"}));
}

QTEST_GUILESS_MAIN(TestFileSaving)
#include "tst_filesaving.moc"
