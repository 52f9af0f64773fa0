#include "support/test_support.h"

#include "frame/paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

ScratchFolder::ScratchFolder() : previousProgramFolder_(programFolder()), previousCurrent_(QDir::currentPath()) {
  setProgramFolder(dir_.path());
  QDir::setCurrent(dir_.path());
}

ScratchFolder::~ScratchFolder() {
  QDir::setCurrent(previousCurrent_);
  setProgramFolder(previousProgramFolder_);
}

void ScratchFolder::write(const QString& name, const QByteArray& content) const {
  const QString path = file(name);
  QDir().mkpath(QFileInfo(path).path());
  QFile out(path);
  if (out.open(QIODevice::WriteOnly)) out.write(content);
}

QByteArray ScratchFolder::read(const QString& name) const {
  QFile in(file(name));
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void answerNextModal(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(modal);
  });
  poll->start();
}

void saveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = qEnvironmentVariable("PELOMAR_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}
