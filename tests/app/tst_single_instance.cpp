// One copy per user, with real processes: the program is copied into a folder of the test's own (so
// its settings file is the test's), and its runtime folder, where the copies meet, is the test's too.

#include "FormMainTestSupport.h"
#include "SingleInstance.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int StartTimeoutMs = 30000;
constexpr int PollMs = 50;
constexpr auto IniText = "[Common]\nSaveOptions=1\nLanguage=German\n[GameStart]\nPlayer1=1\nPlayer2=0\n";

// A socket file that nothing listens on, as a copy that crashed leaves it.
bool LeaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = path.toLocal8Bit();
    if (fd < 0 || bytes.size() >= qsizetype(sizeof(address.sun_path))) return false;
    std::copy(bytes.begin(), bytes.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir FRoot;
    QString FProgram;
    QProcessEnvironment FEnvironment;

    QString RuntimeDir() const { return FRoot.filePath("run"); }
    QString ServerPath() const { return RuntimeDir() + "/tessaron.socket"; }

    void Start(QProcess& process, const QStringList& arguments = {}) {
        process.setProcessEnvironment(FEnvironment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(FProgram, arguments);
        QVERIFY(process.waitForStarted(StartTimeoutMs));
    }

    // The first copy answers once it listens.
    bool WaitUntilListening(const QProcess& first) const {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < StartTimeoutMs && first.state() == QProcess::Running) {
            QLocalSocket probe;
            probe.connectToServer(ServerPath());
            if (probe.waitForConnected(PollMs)) return true;
            QTest::qWait(PollMs);
        }
        return false;
    }

    void RunSecondCopy(const QStringList& arguments) {
        QProcess second;
        Start(second, arguments);
        QVERIFY(second.waitForFinished(StartTimeoutMs));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
    }

    void EndFirstCopy(QProcess& first) {
        first.terminate();
        QVERIFY(first.waitForFinished(StartTimeoutMs));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
    }

    int StoredKind(const QString& key) {
        return QSettings(FRoot.filePath("tessaron.ini"), QSettings::IniFormat)
            .value("GameStart/" + key, -1)
            .toInt();
    }

private Q_SLOTS:
    void initTestCase() {
        // The test's folder is the program's: its settings file is the program's.
        QVERIFY(FRoot.isValid());
        qputenv("XDG_RUNTIME_DIR", RuntimeDir().toLocal8Bit());
        PrepareProgramDir(FRoot, IniText);
        FProgram = FRoot.filePath("tessaron");
        QVERIFY(QFile::copy(TESSARON_PROGRAM, FProgram));
        QVERIFY(QFile::setPermissions(FProgram, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner));
        SaveGameWithSeats(FRoot.filePath("seats.tn2"), pkZufall, pkZufall, "Anna");
        SetProgramDir({});

        QVERIFY(QDir().mkpath(RuntimeDir()));
        QVERIFY(QFile::setPermissions(RuntimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        FEnvironment = QProcessEnvironment::systemEnvironment();
        FEnvironment.insert("XDG_RUNTIME_DIR", RuntimeDir());
        FEnvironment.insert("XDG_DATA_HOME", FRoot.filePath("data"));
        FEnvironment.insert("XDG_CONFIG_HOME", FRoot.filePath("config"));
        FEnvironment.insert("TESSARON_SKIP_START_SCREEN", "1");
        FEnvironment.insert("QT_QPA_PLATFORM", "offscreen");
        FEnvironment.insert("SDL_AUDIODRIVER", "dummy");
    }

    void init() { WriteIniFile(FRoot, IniText); }

    // The second copy hands its file (or nothing) over and ends with 0; the first loads the file, as
    // its settings at the end show: the seats of the file are the kinds it keeps. A socket left by a
    // copy that crashed is no hindrance.
    void secondCopyHandsOverAndEnds_data() {
        QTest::addColumn<bool>("staleSocket");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("player1");
        QTest::addColumn<int>("player2");
        const QStringList file{FRoot.filePath("seats.tn2")};
        QTest::newRow("file") << false << file << int(pkZufall) << int(pkZufall);
        QTest::newRow("no file") << false << QStringList() << int(pkComputer) << int(pkMensch);
        QTest::newRow("stale socket") << true << file << int(pkZufall) << int(pkZufall);
    }
    void secondCopyHandsOverAndEnds() {
        QFETCH(bool, staleSocket);
        QFETCH(QStringList, arguments);
        QFETCH(int, player1);
        QFETCH(int, player2);
        if (staleSocket) QVERIFY(LeaveStaleSocket(ServerPath()));
        QProcess first;
        Start(first);
        QVERIFY(WaitUntilListening(first));
        RunSecondCopy(arguments);
        QCOMPARE(first.state(), QProcess::Running);
        EndFirstCopy(first);
        QCOMPARE(StoredKind("Player1"), player1);
        QCOMPARE(StoredKind("Player2"), player2);
    }

    // In one process: a request that comes before the windows exist waits for them.
    void requestsWaitForTheirHandler() {
        TSingleInstance first;
        QVERIFY(first.Claim({}));
        QProcess second;
        Start(second, {FRoot.filePath("seats.tn2")});
        QVERIFY(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, StartTimeoutMs));
        QCOMPARE(second.exitCode(), 0);
        QStringList handed;
        first.SetHandler([&](const QString& fileName) { handed << fileName; });
        QCOMPARE(handed, QStringList{FRoot.filePath("seats.tn2")});
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
