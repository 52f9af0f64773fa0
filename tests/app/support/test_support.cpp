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
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <optional>

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

QString storeFileIn(const QString& folder) {
  const QString name = QLatin1String(settings::kApplication);
  return folder + u'/' + name + u'/' + name + QLatin1String(".ini");
}

// Qt's own INI reader and writer over a copy of the store of a new name
// each time, since Qt takes a file of a name it read, of the same size and
// time, for unchanged: a reading of the file that owes nothing to the
// program's.
class QtCopy {
 public:
  explicit QtCopy(const QString& file) {
    QFile::copy(file, path());
    ini_.emplace(path(), QSettings::IniFormat);
  }
  QSettings& ini() { return *ini_; }
  // Puts what was set into `file`.
  void putBack(const QString& file) {
    ini_->sync();
    QFile::remove(file);
    QDir().mkpath(QFileInfo(file).path());
    QFile::copy(path(), file);
  }

 private:
  QString path() const { return folder_.filePath(QStringLiteral("store.ini")); }

  QTemporaryDir folder_;
  std::optional<QSettings> ini_;
};

// A list is the items between commas outside quotes.
QString textOf(const QVariant& value) {
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
  return value.toString();
}

std::optional<QVariant> readByQt(const QString& file, const QString& key) {
  QtCopy copy(file);
  if (!copy.ini().contains(key)) return std::nullopt;
  return copy.ini().value(key);
}

}  // namespace

ScratchSettings::ScratchSettings() { settings::useStoreFile(storeFile()); }

ScratchSettings::~ScratchSettings() { settings::useStoreFile(storeFileIn(QDir::tempPath())); }

QString ScratchSettings::storeFile() const { return storeFileIn(dir_.path()); }

QString ScratchSettings::stored(const QString& section, const QString& key) const {
  return textOf(readByQt(storeFile(), section + u'/' + key).value_or(QVariant()));
}

bool ScratchSettings::has(const QString& section, const QString& key) const {
  return readByQt(storeFile(), section + u'/' + key).has_value();
}

QMap<QString, QString> ScratchSettings::all() const {
  QtCopy copy(storeFile());
  QMap<QString, QString> values;
  for (const QString& key : copy.ini().allKeys()) values[key] = textOf(copy.ini().value(key));
  return values;
}

void ScratchSettings::store(const QString& section, const QString& key, const QString& value) const {
  QtCopy copy(storeFile());
  copy.ini().setValue(section + u'/' + key, value);
  copy.putBack(storeFile());
  settings::useStoreFile(storeFile());
}

void ScratchSettings::write(const QByteArray& content) const {
  QDir().mkpath(QFileInfo(storeFile()).path());
  QFile file(storeFile());
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(content);
  file.close();
  settings::useStoreFile(storeFile());
}

QByteArray ScratchSettings::content() const {
  QFile file(storeFile());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
