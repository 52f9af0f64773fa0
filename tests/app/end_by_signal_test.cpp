// Ending by SIGTERM or SIGHUP (logout, shutdown) takes the program's normal
// end: the real program runs in a child process over the real library, and
// its settings are written when it has gone.
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

constexpr int kStartTimeoutMs = 20000;

// The program listens on its socket once it runs its event loop, and
// answers a connection by closing it.
// Folders of a run: the settings store's, the runtime folder, the start
// folder.
class RunFolders {
 public:
  RunFolders() {
    root_.mkpath(QStringLiteral("config/PelomarVexa5Software"));
    root_.mkpath(QStringLiteral("run"));
    QFile::setPermissions(root_.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  QString storeFile() const {
    return root_.filePath(QStringLiteral("config/PelomarVexa5Software/PelomarVexa5Software.ini"));
  }
  // Starts the program from the build's program folder and waits until it
  // answers on its socket.
  bool start(QProcess& program) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root_.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root_.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("TRAMSOLL_COM1"), root_.filePath(QStringLiteral("no-adapter")));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(scratch_.path());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(PELOMAR_BIN_DIR "/pelomar3"), QStringList());
    return program.waitForStarted() && waitUntilRunning(root_.filePath(QStringLiteral("run/pelomar3.socket")));
  }

 private:
  static bool waitUntilRunning(const QString& socketPath);
  QTemporaryDir scratch_;
  QDir root_{scratch_.path()};
};

bool RunFolders::waitUntilRunning(const QString& socketPath) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < kStartTimeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (socket.waitForConnected(200) && socket.waitForDisconnected(kStartTimeoutMs)) return true;
    QTest::qWait(100);
  }
  return false;
}

}  // namespace

class EndBySignalTest : public QObject {
  Q_OBJECT

 private slots:
  void signalTakesTheNormalEnd_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
  }
  void signalTakesTheNormalEnd() {
    QFETCH(int, signal);
    RunFolders folders;
    {
      QSettings store(folders.storeFile(), QSettings::IniFormat);
      store.setValue(QStringLiteral("SerialPort/PortNo"), QStringLiteral("3"));
      store.setValue(QStringLiteral("DspOption/FontSz"), QStringLiteral("8"));
    }
    QProcess program;
    QVERIFY(folders.start(program));
    QCOMPARE(::kill(static_cast<pid_t>(program.processId()), signal), 0);
    QVERIFY(program.waitForFinished(kStartTimeoutMs));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QSettings store(folders.storeFile(), QSettings::IniFormat);
    QCOMPARE(store.value(QStringLiteral("SerialPort/PortNo")).toString(), QStringLiteral("3"));
    QCOMPARE(store.value(QStringLiteral("DspOption/FontSz")).toString(), QStringLiteral("8"));
    QCOMPARE(store.value(QStringLiteral("DspOption/Win_Width")).toString(), QStringLiteral("9600"));
    QVERIFY(store.contains(QStringLiteral("SensorInput/Range8")));
  }

  // While a box of the start is open nothing set can be lost: the signal
  // ends the program at once instead of returning into the start.
  void signalDuringTheStartEndsAtOnce() {
    RunFolders folders;
    QVERIFY(QDir().mkpath(folders.storeFile()));  // the start says it cannot save, and waits
    QProcess program;
    QVERIFY(folders.start(program));
    QCOMPARE(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    QVERIFY(program.waitForFinished(5000));
  }
};

QTEST_MAIN(EndBySignalTest)
#include "end_by_signal_test.moc"
