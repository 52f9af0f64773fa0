// Helpers of the program tests: a scratch program folder, answering modal
// boxes, and screenshots on request.
#pragma once

#include <QString>
#include <QMap>
#include <QTemporaryDir>

#include <functional>

class QTimer;
class QWidget;

// A new empty folder made the program folder and the current folder for the
// life of the object. With PELOMAR_FUZZ_SEEDS set, the customer, station and
// Lang.ini files left in it at the end become seeds of the fuzz targets of
// their readers (see keepFuzzSeeds).
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }
  // Writes a file below the folder, making its folders.
  void write(const QString& name, const QByteArray& content) const;
  QByteArray read(const QString& name) const;

 private:
  QTemporaryDir dir_;
  QString previousProgramFolder_;
  QString previousCurrent_;
};

// Copies the files below `folder` that a fuzz target reads (*.dak,
// pelomar3.dam, Lang.ini) into $PELOMAR_FUZZ_SEEDS/<target>/, each named by
// its content, when that variable is set.
void keepFuzzSeeds(const QString& folder);

// The modal window on top once it can take keys: shown and with its focus
// widget set (the window system activates a new window a while after it is
// shown, and only then is its first focus given; the program may activate
// another window afterwards); nullptr until then. Whatever answers a modal
// waits for this.
QWidget* readyModal();

// Calls `act` with the next modal window once it is ready (readyModal; the
// caller then starts what shows it). `act` must close it. The returned watch
// may be deleted when no modal window came.
QTimer* answerNextModal(std::function<void(QWidget*)> act);

// Answers the next Yes/No question box with `answer` and tells whether one
// came and what it asked.
class QuestionAnswer {
 public:
  explicit QuestionAnswer(int answer);
  ~QuestionAnswer();
  bool asked = false;
  QString text;

 private:
  QTimer* watch_ = nullptr;
};

// A new empty settings store and a folder for the program's lock, for the
// life of the object. The store's values are looked at and set as Qt's own
// INI reader and writer do; what is set by hand is what the program reads
// at its next start.
class ScratchSettings {
 public:
  ScratchSettings();
  ~ScratchSettings();
  QString path() const { return dir_.path(); }
  QString storeFile() const;
  // The value as stored under the exact section and key ("" when missing),
  // a list's items joined by ",".
  QString stored(const QString& section, const QString& key) const;
  bool has(const QString& section, const QString& key) const;
  // Every value Qt finds, under "section/key".
  QMap<QString, QString> all() const;
  void store(const QString& section, const QString& key, const QString& value) const;
  // The store's bytes, as they stand or in place of them.
  void write(const QByteArray& content) const;
  QByteArray content() const;

 private:
  QTemporaryDir dir_;
};

// Saves a picture of the widget into $PELOMAR_SCREENSHOT_DIR when it is set.
void saveScreenshot(QWidget& widget, const QString& name);
