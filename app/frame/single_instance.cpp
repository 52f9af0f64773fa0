#include "frame/single_instance.h"

#include "frame/main_window.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMainWindow>
#include <QStandardPaths>

#include <memory>

namespace {

constexpr int kConnectTimeoutMs = 1000;

struct Instance {
  std::unique_ptr<QLockFile> lock;
  std::unique_ptr<QLocalServer> server;
};

Instance& instance() {
  static Instance held;
  return held;
}

QString socketPath(const QString& folder) {
  return QDir(instanceFolder(folder)).filePath(QLatin1String(kInstanceSocketName));
}

// Shown, restored from an icon, raised and activated; a main window that
// is hidden because the program is ending stays hidden.
void bringMainWindowToFront() {
  QMainWindow* main = mainWindow();
  if (!main || !main->isVisible()) return;
  main->setWindowState((main->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  main->raise();
  main->activateWindow();
}

}  // namespace

// A connection is the whole request.
void listenForLaterStarts(const QString& folder) {
  auto server = std::make_unique<QLocalServer>();
  const QString path = socketPath(folder);
  // Left by a copy that ended without closing it; the lock says none runs.
  QLocalServer::removeServer(path);
  if (!server->listen(path)) return;
  QLocalServer* listening = server.get();
  QObject::connect(listening, &QLocalServer::newConnection, listening, [listening] {
    while (QLocalSocket* connection = listening->nextPendingConnection()) {
      bringMainWindowToFront();
      connection->disconnectFromServer();
      connection->deleteLater();
    }
  });
  instance().server = std::move(server);
}

QString instanceFolder(const QString& folder) {
  if (!folder.isEmpty()) return folder;
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

bool takeInstanceLock(const QString& folder) {
  auto lock = std::make_unique<QLockFile>(QDir(instanceFolder(folder)).filePath(QLatin1String(kInstanceLockName)));
  // Held for the whole run; only a copy that is no longer running leaves a
  // lock that may be taken over.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return lock->error() != QLockFile::LockFailedError;
  instance().lock = std::move(lock);
  return true;
}

void bringRunningCopyToFront(const QString& folder) {
  QLocalSocket socket;
  socket.connectToServer(socketPath(folder));
  if (socket.waitForConnected(kConnectTimeoutMs)) socket.disconnectFromServer();
}

void releaseInstanceLock() {
  Instance& held = instance();
  held.server.reset();
  held.lock.reset();
}
