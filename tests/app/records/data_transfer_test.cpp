// The data-transfer window over the real library: what a copy does with the
// rows chosen, the duplicate questions and their answers, the failures it
// reports without losing a file, and its closing during a copy.
#include "das_gen.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/end_participant.h"
#include "frame/frmMain.h"
#include "frame/library/tramsoll_library.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "records/frmDataTransfer.h"
#include "records/frmSameCustomInfor.h"
#include "records/frmSameData.h"
#include "support/program_fixture.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <cerrno>
#include <optional>

namespace {

QByteArray read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

void writeCustomer(const QString& path, const char* name) {
  write(path, QByteArray("1,50\r\n\"id\",\"") + name + "\"\r\n");
}

void writeRecording(const QString& path, const char* mapName, uint32_t records) {
  QDir().mkpath(QFileInfo(path).path());
  std::string error;
  QVERIFY2(dasgen::writeRecording(path.toStdString(), dasgen::periodicRecording(mapName, records), error),
           error.c_str());
}

// P: acme {acme.dak, A1.das, A2.das}, beta {BETA.DAK, B1.das}, const1.das;
// D: acme {acme.dak, A2.das}, const1.das, each unlike P's.
void layOut(const QString& p, const QString& d) {
  writeCustomer(p + "/acme/acme.dak", "Acme Corp");
  writeRecording(p + "/acme/A1.das", "Roof", 10);
  writeRecording(p + "/acme/A2.das", "Hall", 20);
  writeCustomer(p + "/beta/BETA.DAK", "Beta Ltd");
  writeRecording(p + "/beta/B1.das", "Cellar", 30);
  writeRecording(p + "/const1.das", "Loose", 40);
  writeCustomer(d + "/acme/acme.dak", "Acme Old");
  writeRecording(d + "/acme/A2.das", "Hall old", 5);
  writeRecording(d + "/const1.das", "Loose old", 6);
}

// Every entry below the folders, hidden ones too, with its content.
QStringList snapshot(const QStringList& folders) {
  QStringList entries;
  for (const QString& folder : folders) {
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      entries << path + '=' + QString::fromLatin1(read(path).toHex());
    }
  }
  entries.sort();
  return entries;
}

QStringList files(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

QStringList column(const QTableWidget& grid, int c) {
  QStringList texts;
  for (int r = 0; r < grid.rowCount(); ++r) texts << grid.item(r, c)->text();
  return texts;
}

// Answers each modal window as it comes up: a duplicate question with the
// next key (0: its close box), noting "old>new" of its first boxes; a
// message with OK, noting its number and last line.
class Answerer {
 public:
  explicit Answerer(std::vector<int> keys = {}) : keys_(std::move(keys)) { arm(); }
  ~Answerer() { delete poll_.data(); }
  QStringList seen;
  std::function<void()> during;  // runs inside the first question

 private:
  void arm() {
    poll_ = answerNextModal([this](QWidget* modal) {
      take(modal);
      arm();
    });
  }
  static QString boxes(const std::vector<QLineEdit*>& boxes) {
    QStringList texts;
    for (std::size_t i = 0; i < std::min<std::size_t>(boxes.size(), 3); ++i) texts << boxes[i]->text();
    return texts.join(':');
  }
  void take(QWidget* modal) {
    if (auto* box = qobject_cast<frmMessage*>(modal)) {
      seen << box->messageKey + ": " + box->labelStrings[3];
      box->cmdOk->click();
      return;
    }
    auto* question = qobject_cast<SameItemDialog*>(modal);
    QVERIFY(question);
    seen << boxes(question->oldBoxes) + '>' + boxes(question->newBoxes);
    if (during) std::exchange(during, nullptr)();
    const int key = next_ < keys_.size() ? keys_[next_++] : Qt::Key_Escape;
    key ? QTest::keyClick(question, Qt::Key(key)) : void(question->close());
  }

  std::vector<int> keys_;
  std::size_t next_ = 0;
  QPointer<QTimer> poll_;
};

// A started program over the real library; the right side opens at D, made
// the home folder.
struct Transfer {
  std::unique_ptr<ProgramFixture> world = startedProgram();
  QTemporaryDir d;
  TramsollLibrary library{QStringLiteral(PELOMAR_BIN_DIR "/libtramsoll.so"), [](const QString&) {}};
  const QByteArray home = qgetenv("HOME");
  QString p = programFolder();

  Transfer() {
    installTramsollApi(&library);
    qputenv("HOME", d.path().toUtf8());
    layOut(p, d.path());
  }
  ~Transfer() {
    putWindowsAway();
    installTramsollApi(&world->library.fake);
    qputenv("HOME", home);
  }
  QString at(const QString& name) const { return d.filePath(name); }
  frmDataTransfer& open() {
    activateMainWindow();
    QTest::keyClick(&frmMain::instance(), Qt::Key_F3);
    frmDataTransfer& window = frmDataTransfer::instance();
    [&] { QVERIFY(window.isLoaded()); }();
    return window;
  }
  // Chooses rows first..last upwards and presses the key; returns when the
  // copy has ended.
  void copy(QTableWidget& grid, int first, int last, int key) {
    grid.setCurrentCell(last - 1, 0);
    grid.setRangeSelected(QTableWidgetSelectionRange(first - 1, 0, last - 1, grid.columnCount() - 1), true);
    grid.setCurrentCell(first - 1, 0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(&grid, Qt::Key(key));
    QTRY_VERIFY(!frmDataTransfer::instance().isBusy());
  }
};

}  // namespace

class DataTransferTest : public QObject {
  Q_OBJECT

 private slots:
  void rowsFourToOneCopyWhatIsMissingAndAskForEachDuplicate() {
    // {answers at rows 2 and 4, D's A2.das replaced, D's const1.das replaced}
    const struct {
      std::vector<int> keys;
      bool a2Replaced, constReplaced;
    } cases[] = {{{Qt::Key_F3, Qt::Key_F2}, false, true}, {{Qt::Key_F1, 0}, true, false}};
    for (const auto& c : cases) {
      Transfer t;
      const QByteArray customerFile = read(t.at("acme/acme.dak"));
      frmDataTransfer& window = t.open();
      QCOMPARE(window.grdListLeft->rowCount(), 4);
      Answerer answers(c.keys);
      t.copy(*window.grdListLeft, 1, 4, Qt::Key_F1);
      QCOMPARE(answers.seen, QStringList({"acme:Acme Old:Hall old>acme:Acme Corp:Hall", "::Loose old>::Loose"}));
      QCOMPARE(read(t.at("acme/A1.das")), read(t.p + "/acme/A1.das"));
      QCOMPARE(read(t.at("acme/acme.dak")), customerFile);
      QCOMPARE(read(t.at("acme/A2.das")) == read(t.p + "/acme/A2.das"), c.a2Replaced);
      QCOMPARE(read(t.at("const1.das")) == read(t.p + "/const1.das"), c.constReplaced);
      // The customer's folder is made with its customer file, named after it.
      QCOMPARE(files(t.at("beta")), QStringList({"B1.das", "beta.dak"}));
      QCOMPARE(read(t.at("beta/beta.dak")), read(t.p + "/beta/BETA.DAK"));
      QCOMPARE(files(t.d.path()), QStringList({"const1.das"}));
      QCOMPARE(column(*window.grdListRight, 0), QStringList({"A1.das", "A2.das", "B1.das", "const1.das"}));
      QVERIFY(!program().dataTransferRunning);
    }
  }

  void customerDataReplacesTheCustomerFileInPlace() {
    // {answers, questions, D's acme.dak replaced, D's beta.dak replaced}
    const struct {
      std::vector<int> keys;
      int questions;
      bool acmeReplaced, betaReplaced;
    } cases[] = {{{Qt::Key_F1, Qt::Key_F3}, 2, true, false},
                 {{Qt::Key_Escape}, 1, false, false},
                 {{Qt::Key_F2}, 1, true, true}};
    for (const auto& c : cases) {
      Transfer t;
      writeCustomer(t.at("beta/beta.dak"), "Beta Old");
      frmDataTransfer& window = t.open();
      window.optSelect[kCustomerData]->click();
      QCOMPARE(column(*window.grdListLeft, 0), QStringList({"acme.dak", "BETA.DAK"}));
      Answerer answers(c.keys);
      t.copy(*window.grdListLeft, 1, 2, Qt::Key_F1);
      QCOMPARE(answers.seen.size(), c.questions);
      QCOMPARE(answers.seen[0], QStringLiteral("acme:Acme Old>acme:Acme Corp"));
      QCOMPARE(read(t.at("acme/acme.dak")) == read(t.p + "/acme/acme.dak"), c.acmeReplaced);
      QCOMPARE(read(t.at("beta/beta.dak")) == read(t.p + "/beta/BETA.DAK"), c.betaReplaced);
      QCOMPARE(files(t.at("beta")), QStringList({"beta.dak"}));
      QCOMPARE(files(t.at("acme")), QStringList({"A2.das", "acme.dak"}));
    }
    // A new customer whose folder cannot be made on a full disk.
    Transfer t;
    frmDataTransfer& window = t.open();
    window.optSelect[kCustomerData]->click();
    Answerer answers;
    ScopedFileFault full({FileCall::MakeFolder, ENOSPC});
    t.copy(*window.grdListLeft, 2, 2, Qt::Key_F1);
    QCOMPARE(answers.seen, QStringList({"21-2: "}));
    QVERIFY(!QFile::exists(t.at("beta")));
  }

  void copyFromTheRightGoesIntoTheProgramFolder() {
    Transfer t;
    const QByteArray customerFile = read(t.p + "/acme/acme.dak");
    frmDataTransfer& window = t.open();
    Answerer answers({Qt::Key_F1});
    t.copy(*window.grdListRight, 1, 1, Qt::Key_F2);
    QCOMPARE(answers.seen, QStringList({"acme:Acme Corp:Hall>acme:Acme Old:Hall old"}));
    QCOMPARE(read(t.p + "/acme/A2.das"), read(t.at("acme/A2.das")));
    QCOMPARE(read(t.p + "/acme/acme.dak"), customerFile);
    QCOMPARE(window.grdListLeft->item(1, 3)->text(), QStringLiteral("Hall old"));  // listed again
  }

  void failuresAreToldAndLoseNothing() {
    enum Setting { kNone, kRecording, kLinkedProgramFolder };
    const struct {
      std::optional<FileFault> fault;
      Setting setting;
      int row;
      QStringList seen;
    } cases[] = {
        {FileFault{FileCall::Write, ENOSPC}, kNone, 4, {"::Loose old>::Loose", "21-2: "}},
        {FileFault{FileCall::CreateTarget, EACCES}, kNone, 1, {"21-3: ( 13 Permission denied )"}},
        {FileFault{FileCall::MakeFolder, EACCES}, kNone, 3, {"21-3: ( 13 Permission denied )"}},
        {std::nullopt, kNone, 5, {"21-3: ( 36 File name too long )"}},  // the library cut the name
        {std::nullopt, kRecording, 1, {"21-1: "}},
        {std::nullopt, kLinkedProgramFolder, 1, {}},
    };
    for (const auto& c : cases) {
      Transfer t;
      writeRecording(t.p + "/recording-of-the-north-wing-2024.das", "Long", 5);
      frmDataTransfer& window = t.open();
      program().mapRecodeModeOpen = c.setting == kRecording;
      if (c.setting == kLinkedProgramFolder) {
        QVERIFY(QFile::link(t.p, t.at("program")));
        window.chooseRightFolder(t.at("program"));
      }
      const QStringList before = snapshot({t.p, t.d.path()});
      Answerer answers({Qt::Key_F1});
      if (c.fault) setFileFault(c.fault);
      t.copy(*window.grdListLeft, c.row, c.row, Qt::Key_F1);
      setFileFault(std::nullopt);
      QCOMPARE(answers.seen, c.seen);
      QCOMPARE(snapshot({t.p, t.d.path()}), before);
      QVERIFY(!program().dataTransferRunning);
    }
    // A folder that cannot be listed is told; what was found before stays.
    Transfer t;
    frmDataTransfer& window = t.open();
    Answerer answers;
    ScopedFileFault fault({FileCall::ListFolder, EACCES, 1});
    window.chooseRightFolder(t.d.path());
    QCOMPARE(answers.seen, QStringList({"21-3: ( 13 Permission denied )"}));
    QCOMPARE(column(*window.grdListRight, 0), QStringList({"const1.das"}));
  }

  void closingDuringACopyStopsAfterTheFileUnderWay() {
    Transfer t;
    const QByteArray oldA2 = read(t.at("acme/A2.das"));
    frmDataTransfer& window = t.open();
    Answerer answers({Qt::Key_F1});
    answers.during = [&window] {
      window.optSelect[kCustomerData]->click();
      window.subWindow()->close();
      QVERIFY(!everyParticipantClosed());  // the end of the program waits
    };
    t.copy(*window.grdListLeft, 1, 4, Qt::Key_F1);
    QVERIFY(window.optSelect[kOperationData]->isChecked());
    QVERIFY(!program().dataTransferRunning && everyParticipantClosed() && window.isLoaded());
    QVERIFY(QFile::exists(t.at("acme/A1.das")));
    QCOMPARE(read(t.at("acme/A2.das")), oldA2);
    QVERIFY(!QFile::exists(t.at("beta")));
    QTRY_VERIFY_WITH_TIMEOUT(!window.isLoaded(), 10 * frmDataTransfer::kEndTickMs);
    QVERIFY(frmMain::instance().isLoaded());
    QCOMPARE(program().dataFunction, int32_t(kDataFree));
  }

  void theOptionSwitchesBothListsAndEscCloses() {
    Transfer t;
    frmDataTransfer& window = t.open();
    window.optSelect[kCustomerData]->click();
    QCOMPARE(window.grdListRight->columnCount(), 3);
    QCOMPARE(column(*window.grdListRight, 1), QStringList({"acme"}));
    window.optSelect[kOperationData]->click();
    QCOMPARE(window.grdListLeft->columnCount(), 12);
    QCOMPARE(column(*window.grdListRight, 0), QStringList({"A2.das", "const1.das"}));
    QTest::keyClick(window.grdListLeft, Qt::Key_Escape);
    QVERIFY(window.isLoaded());  // until the end timer's next tick
    QTRY_VERIFY_WITH_TIMEOUT(!window.isLoaded(), 10 * frmDataTransfer::kEndTickMs);
  }

  void eachAnswerSetsOnlyItsOwnFlag() {
    auto world = startedProgram();
    // {key (0: the close box), flags "cancel yesAll yes" after all False, after all True}
    const struct {
      int key;
      const char* fromFalse;
      const char* fromTrue;
    } cases[] = {{Qt::Key_F1, "001", "111"}, {Qt::Key_F2, "010", "111"}, {Qt::Key_F3, "000", "110"},
                 {Qt::Key_Escape, "100", "111"}, {0, "000", "111"}};
    for (SameItemDialog* dialog : std::initializer_list<SameItemDialog*>{&frmSameData::instance(),
                                                                         &frmSameCustomInfor::instance()}) {
      for (const auto& c : cases) {
        for (bool start : {false, true}) {
          CopyAnswers answers{start, start, start};
          bool raised = false;
          answerNextModal([&](QWidget*) {
            raised = bool(program().dialogOpen);
            c.key ? QTest::keyClick(dialog, Qt::Key(c.key)) : void(dialog->close());
          });
          dialog->ask(answers);
          const QString flags = QString::number(answers.flagCopyCancel) + QString::number(answers.flagCopyYesAll) +
                                QString::number(answers.flagCopyYes);
          QCOMPARE(flags, QString::fromLatin1(start ? c.fromTrue : c.fromFalse));
          QVERIFY(raised && !program().dialogOpen);
        }
      }
    }
  }
};

QTEST_MAIN(DataTransferTest)
#include "data_transfer_test.moc"
