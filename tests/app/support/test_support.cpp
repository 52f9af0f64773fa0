#include "support/test_support.h"

#include "frame/site/paths.h"
#include "frame/site/settings_store.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMessageBox>
#include <QPixmap>
#include <QSettings>
#include <QTimer>
#include <QWidget>

ScratchFolder::ScratchFolder() : previousProgramFolder_(programFolder()), previousCurrent_(QDir::currentPath()) {
  setProgramFolder(dir_.path());
  QDir::setCurrent(dir_.path());
}

ScratchFolder::~ScratchFolder() {
  keepFuzzSeeds(dir_.path());
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

namespace {

// The fuzz target that reads a file of this name; "" for none.
QString fuzzTargetOf(const QString& fileName) {
  if (fileName.endsWith(QStringLiteral(".dak"), Qt::CaseInsensitive)) return QStringLiteral("customer_file_fuzz");
  if (fileName.compare(QStringLiteral("pelomar3.dam"), Qt::CaseInsensitive) == 0) {
    return QStringLiteral("station_file_fuzz");
  }
  if (fileName.compare(QStringLiteral("Lang.ini"), Qt::CaseInsensitive) == 0) return QStringLiteral("lang_ini_fuzz");
  return QString();
}

constexpr qint64 kLargestSeed = 64 * 1024;

}  // namespace

void keepFuzzSeeds(const QString& folder) {
  const QString seeds = qEnvironmentVariable("PELOMAR_FUZZ_SEEDS");
  if (seeds.isEmpty()) return;
  for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
    const QFileInfo file(it.next());
    const QString target = fuzzTargetOf(file.fileName());
    if (target.isEmpty() || file.size() > kLargestSeed) continue;
    QFile in(file.filePath());
    if (!in.open(QIODevice::ReadOnly)) continue;
    const QByteArray content = in.readAll();
    const QDir into(QDir(seeds).filePath(target));
    into.mkpath(QStringLiteral("."));
    QFile out(into.filePath(QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex())));
    if (out.open(QIODevice::WriteOnly)) out.write(content);
  }
}

QWidget* readyModal() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible() || !modal->focusWidget()) return nullptr;
  return modal;
}

QTimer* answerNextModal(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    QWidget* modal = readyModal();
    if (!modal) return;
    poll->stop();
    poll->deleteLater();
    act(modal);
  });
  poll->start();
  return poll;
}

QuestionAnswer::QuestionAnswer(int answer) {
  watch_ = answerNextModal([this, answer](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    watch_ = nullptr;
    if (!box) {
      modal->close();
      return;
    }
    text = box->text();
    asked = true;
    box->button(static_cast<QMessageBox::StandardButton>(answer))->click();
  });
}

QuestionAnswer::~QuestionAnswer() { delete watch_; }

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
