// The file type registered with the desktop, in a data folder of the test's own.

#include "DesktopRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray ReadFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDesktopRegistration : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FData;

    QString DataFile(const QString& name) const { return QDir(FData->path()).filePath(name); }
    QString Entry() const { return DataFile("applications/tessaron.desktop"); }

private Q_SLOTS:
    void init() {
        FData = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", FData->path().toLocal8Bit());
    }

    void firstStartWritesPackageEntryAndIcons() {
        const TRegistration done = RegisterFileType("/opt/tessaron/tessaron", TESSARON_ICON_DIR);
        QVERIFY(done.Failed.isEmpty());
        const QByteArray package = ReadFile(DataFile("mime/packages/tessaron.xml"));
        QVERIFY(package.contains("type=\"application/x-tessaron-game\""));
        QVERIFY(package.contains("<glob pattern=\"*.tn2\"/>"));
        const QByteArray entry = ReadFile(Entry());
        QVERIFY(entry.contains("\nExec=\"/opt/tessaron/tessaron\" %f\n"));
        QVERIFY(entry.contains("\nMimeType=application/x-tessaron-game;\n"));
        QVERIFY(entry.contains("\nIcon=tessaron\n"));
        for (const int size : {16, 32, 48, 256, 512})
            QVERIFY(QFileInfo::exists(DataFile(QString("icons/hicolor/%1x%1/apps/tessaron.png").arg(size))));
        QVERIFY(done.Written.contains(Entry()));
    }

    void unchangedPathTouchesNothing() {
        RegisterFileType("/opt/tessaron/tessaron", TESSARON_ICON_DIR);
        const QDateTime written = QFileInfo(Entry()).lastModified();
        const TRegistration again = RegisterFileType("/opt/tessaron/tessaron", TESSARON_ICON_DIR);
        QVERIFY(again.Written.isEmpty());
        QCOMPARE(QFileInfo(Entry()).lastModified(), written);
    }

    void movedProgramRewritesItsEntry() {
        RegisterFileType("/opt/tessaron/tessaron", TESSARON_ICON_DIR);
        const TRegistration moved = RegisterFileType("/home/anna/Schach/tessaron", TESSARON_ICON_DIR);
        QCOMPARE(moved.Written, QStringList{Entry()});
        QVERIFY(ReadFile(Entry()).contains("\nExec=\"/home/anna/Schach/tessaron\" %f\n"));
    }

    void damagedEntryIsRepaired() {
        RegisterFileType("/opt/tessaron/tessaron", TESSARON_ICON_DIR);
        QFile entry(Entry());
        QVERIFY(entry.open(QIODevice::WriteOnly | QIODevice::Truncate));
        entry.write("[Desktop Entry]\n");
        entry.close();
        QCOMPARE(RegisterFileType("/opt/tessaron/tessaron", TESSARON_ICON_DIR).Written, QStringList{Entry()});
        QVERIFY(ReadFile(Entry()).contains("Exec="));
    }

    void pathsAreQuotedForTheDesktop_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/usr/bin/tessaron"
                               << "\"/usr/bin/tessaron\" %f";
        QTest::newRow("blank") << "/home/a b/tessaron"
                               << "\"/home/a b/tessaron\" %f";
        // Each mark gets a backslash, and every backslash is then doubled for the file.
        QTest::newRow("quote") << "/x\"y/tessaron"
                               << "\"/x\\\\\"y/tessaron\" %f";
        QTest::newRow("dollar") << "/x$y/tessaron"
                                << "\"/x\\\\$y/tessaron\" %f";
        QTest::newRow("backtick") << "/x`y/tessaron"
                                  << "\"/x\\\\`y/tessaron\" %f";
        QTest::newRow("backslash") << "/x\\y/tessaron"
                                   << "\"/x\\\\\\\\y/tessaron\" %f";
        QTest::newRow("percent") << "/100%/tessaron"
                                 << "\"/100%%/tessaron\" %f";
    }
    void pathsAreQuotedForTheDesktop() {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QCOMPARE(DesktopExec(path), exec);
    }

    void entryPassesTheValidator_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/usr/bin/tessaron";
        QTest::newRow("awkward") << "/home/a b/\"x\"$`\\%/tessaron";
    }
    void entryPassesTheValidator() {
        QFETCH(QString, path);
        const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
        if (validator.isEmpty()) QSKIP("desktop-file-validate is not installed");
        RegisterFileType(path, TESSARON_ICON_DIR);
        QProcess process;
        process.start(validator, {Entry()});
        QVERIFY(process.waitForFinished());
        const QByteArray said = process.readAllStandardOutput() + process.readAllStandardError();
        QVERIFY2(process.exitCode() == 0 && !said.contains("error"), said.constData());
    }

    void missingIconsAreNoFault() {
        const TRegistration done = RegisterFileType("/usr/bin/tessaron", FData->filePath("no-icons"));
        QVERIFY(done.Failed.isEmpty());
        QVERIFY(QFileInfo::exists(Entry()));
        QVERIFY(!QFileInfo::exists(DataFile("icons")));
    }

    void unwritableFolderIsReportedNotFatal() {
        QVERIFY(QFile::setPermissions(FData->path(), QFile::ReadOwner | QFile::ExeOwner));
        const TRegistration done = RegisterFileType("/usr/bin/tessaron", TESSARON_ICON_DIR);
        QFile::setPermissions(FData->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (done.Failed.isEmpty()) QSKIP("the folder stays writable (running as root)");
        QVERIFY(done.Written.isEmpty());
    }

    void iconHasEverySize() {
        const QIcon icon = ProgramIcon(TESSARON_ICON_DIR);
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        QVERIFY(icon.availableSizes().contains(QSize(512, 512)));
    }
};

QTEST_MAIN(TestDesktopRegistration)
#include "tst_desktop_registration.moc"
