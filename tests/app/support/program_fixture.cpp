#include "support/program_fixture.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/dialogs/yes_no_dialog.h"
#include "frame/form.h"
#include "frame/frmMdi.h"
#include "frame/program_end.h"
#include "frame/single_form.h"
#include "frame/single_instance.h"
#include "program_windows.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cstring>

ProgramFixture::ProgramFixture() {
  installProgramWindows();
  setEndProgramAction([] {});
  scriptVersions(library.fake, "3.12", "2024/05/17");
}

ProgramFixture::~ProgramFixture() {
  releaseInstanceLock();
  putWindowsAway();
}

StartEnvironment ProgramFixture::environment(QDate today) const { return StartEnvironment{today, store.path()}; }

QStringList ProgramFixture::callNames() const {
  QStringList names;
  for (const QString& call : library.fake.calls) names << call.left(call.indexOf(QLatin1Char('(')));
  return names;
}

std::unique_ptr<ProgramFixture> startedProgram() {
  auto world = std::make_unique<ProgramFixture>();
  if (!startProgram(world->environment())) qFatal("the program did not start");
  world->library.fake.calls.clear();
  return world;
}

bool activateMainWindow() {
  frmMdi& main = frmMdi::instance();
  main.activateWindow();
  return QTest::qWaitForWindowActive(&main);
}

void scriptVersions(FakeTramsoll& fake, const QByteArray& version, const QByteArray& date) {
  fake.on<decltype(::getSetFileVer)>(
      "getSetFileVer", [version, date](char* v, int32_t* vl, char* d, int32_t* dl, char* lv, int32_t* lvl, char* ld,
                                       int32_t* ldl) {
        const auto give = [](char* buffer, int32_t* length, const QByteArray& text) {
          std::memcpy(buffer, text.constData(), static_cast<std::size_t>(text.size()) + 1);
          *length = static_cast<int32_t>(text.size());
        };
        give(v, vl, version);
        give(d, dl, date);
        give(lv, lvl, "1.53A");
        give(ld, ldl, "2015/02/25");
        return 0;
      });
}

QTimer* readNextMessage(QStringList& lines) {
  return answerNextModal([&lines](QWidget* modal) {
    auto* box = qobject_cast<frmMessage*>(modal);
    if (!box) {
      modal->close();
      return;
    }
    lines = QStringList(box->labelStrings.begin(), box->labelStrings.end());
    box->cmdOk->click();
  });
}

MessageCollector::MessageCollector() : watch_(new QTimer) {
  watch_->setInterval(10);
  QObject::connect(watch_, &QTimer::timeout, [this] {
    auto* box = qobject_cast<frmMessage*>(readyModal());
    if (!box) return;
    keys << box->messageKey;
    box->cmdOk->click();
  });
  watch_->start();
}

MessageCollector::~MessageCollector() { delete watch_; }

ModalAnswerer::ModalAnswerer(QList<bool> answers) : answers_(std::move(answers)), watch_(new QTimer) {
  watch_->setInterval(10);
  QObject::connect(watch_, &QTimer::timeout, [this] {
    QWidget* modal = readyModal();
    if (!modal) return;
    // Pressed once this tick is over: what the answer opens next (a message
    // after No) is answered by a later tick, which a timer cannot give
    // inside its own slot.
    QAbstractButton* press = nullptr;
    if (auto* box = qobject_cast<frmMessage*>(modal)) {
      seen << box->messageKey;
      press = box->cmdOk;
    } else if (auto* question = qobject_cast<YesNoDialog*>(modal)) {
      seen << QString::fromLatin1(question->metaObject()->className());
      const bool yes = !answers_.isEmpty() && answers_.takeFirst();
      press = yes ? question->cmdOk : question->cmdCancel;
    }
    if (!press) return;
    watch_->stop();
    QTimer::singleShot(0, watch_, [this, button = QPointer<QAbstractButton>(press)] {
      watch_->start();
      if (button) button->click();
    });
  });
  watch_->start();
}

ModalAnswerer::~ModalAnswerer() { delete watch_; }

void putWindowsAway() {
  unloadEveryForm();
  destroySingleWindows();
  resetProgramEnd();
}
