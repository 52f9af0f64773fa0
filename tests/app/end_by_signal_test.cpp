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
bool waitUntilRunning(const QString& socketPath) {
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
    QTemporaryDir scratch;
    const QDir root(scratch.path());
    QVERIFY(root.mkpath(QStringLiteral("config/PelomarVexa5Software")) && root.mkpath(QStringLiteral("run")));
    QFile::setPermissions(root.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                    QFileDevice::ExeOwner);
    const QString storeFile = root.filePath(QStringLiteral("config/PelomarVexa5Software/PelomarVexa5Software.ini"));
    {
      QSettings store(storeFile, QSettings::IniFormat);
      store.setValue(QStringLiteral("SerialPort/PortNo"), QStringLiteral("3"));
      store.setValue(QStringLiteral("DspOption/FontSz"), QStringLiteral("8"));
    }

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("TRAMSOLL_COM1"), root.filePath(QStringLiteral("no-adapter")));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(scratch.path());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(PELOMAR_BIN_DIR "/pelomar3"), QStringList());
    QVERIFY(program.waitForStarted());
    QVERIFY(waitUntilRunning(root.filePath(QStringLiteral("run/pelomar3.socket"))));

    QCOMPARE(::kill(static_cast<pid_t>(program.processId()), signal), 0);
    QVERIFY(program.waitForFinished(kStartTimeoutMs));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QSettings store(storeFile, QSettings::IniFormat);
    QCOMPARE(store.value(QStringLiteral("SerialPort/PortNo")).toString(), QStringLiteral("3"));
    QCOMPARE(store.value(QStringLiteral("DspOption/FontSz")).toString(), QStringLiteral("8"));
    QCOMPARE(store.value(QStringLiteral("DspOption/Win_Width")).toString(), QStringLiteral("9600"));
    QVERIFY(store.contains(QStringLiteral("SensorInput/Range8")));
  }
};

QTEST_MAIN(EndBySignalTest)
#include "end_by_signal_test.moc"
