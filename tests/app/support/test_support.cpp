#include "support/test_support.h"

#include "frame/site/paths.h"
#include "frame/site/settings_store.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QSettings>
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

QTimer* answerNextModal(std::function<void(QWidget*)> act) {
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
  return poll;
}

void saveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = qEnvironmentVariable("PELOMAR_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

namespace {

QSettings scratchStore() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QLatin1String(settings::kApplication),
                   QLatin1String(settings::kApplication));
}

}  // namespace

ScratchSettings::ScratchSettings() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path()); }

ScratchSettings::~ScratchSettings() {
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QDir::tempPath());
}

QString ScratchSettings::stored(const QString& section, const QString& key) const {
  return scratchStore().value(section + QLatin1Char('/') + key).toString();
}

bool ScratchSettings::has(const QString& section, const QString& key) const {
  return scratchStore().contains(section + QLatin1Char('/') + key);
}

void ScratchSettings::store(const QString& section, const QString& key, const QString& value) const {
  scratchStore().setValue(section + QLatin1Char('/') + key, value);
}
