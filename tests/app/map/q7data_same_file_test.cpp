// The bus log from the map's display mode over the fake library: earlier
// logs bring the question (frmQ7dataSameFile), Yes removes only the logs the
// library writes and starts, a log that stays is told ("6-4") and nothing
// starts, and a start the library does not log leaves the key offering it.
#include "frame/dialogs/frmMessage.h"
#include "frame/file_operations.h"
#include "map/frmQ7dataSameFile.h"
#include "map/map_builder.h"
#include "map/map_recording.h"
#include "map/open_map.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <cerrno>
#include <optional>

namespace {

enum class Answer { None, Yes, No, Closed };

// Answers the question as told; keeps whether it came.
class QuestionWatch {
 public:
  explicit QuestionWatch(Answer answer) {
    watch_ = answerNextModal([this, answer](QWidget* modal) {
      auto* question = qobject_cast<frmQ7dataSameFile*>(modal);
      if (!question) return;
      asked = true;
      lines = question->lbl1->text() + QLatin1Char('|') + question->lbl2->text();
      if (answer == Answer::Yes) QTest::keyClick(question, Qt::Key_F1);
      if (answer == Answer::No) QTest::keyClick(question, Qt::Key_Escape);
      if (answer == Answer::Closed) question->close();
    });
  }
  ~QuestionWatch() { delete watch_; }
  bool asked = false;
  QString lines;

 private:
  QPointer<QTimer> watch_;
};

}  // namespace

class Q7dataSameFileTest : public ProgramTest {
  Q_OBJECT

  QString logFolder() const { return world->folder.file(QStringLiteral("q7data")); }
  QStringList logs() const { return QDir(logFolder()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase); }

  frmMap& displayMode() {
    auto map = std::make_shared<MapQ7net>(mapOf({{1, 0}}));
    map->ifMode = 2;
    frmMap& window = openMap(map);
    QTest::keyClick(&window, Qt::Key_F4);
    return window;
  }

 private slots:

  void earlierLogsAreAskedAboutAndOnlyTheLibrarysAreRemoved() {
    struct Case {
      const char* fault;
      QStringList files;  // in the log folder before the start
      Answer answer;
      bool removalFails;
      int32_t library;  // what the start answers
      QStringList remaining;
      const char* message;  // "6-4"'s first line, or ""
      bool started;
    };
    const QString base = QStringLiteral("q7-net.dl2");
    const QStringList earlier{base, QStringLiteral("q7-net-1.dl2"), QStringLiteral("q7-netX.dl2"),
                              QStringLiteral("other.dl2")};
    const Case cases[] = {
        {"no earlier log: the log starts at once", {}, Answer::None, false, 0, {}, "", true},
        {"a numbered part alone is asked about; No keeps it", {QStringLiteral("q7-net-2.dl2")}, Answer::No, false, 0,
         {QStringLiteral("q7-net-2.dl2")}, "", false},
        {"a name in capitals counts; closing the question is No", {QStringLiteral("Q7-NET.DL2")}, Answer::Closed,
         false, 0, {QStringLiteral("Q7-NET.DL2")}, "", false},
        {"Yes removes the library's logs alone and starts", earlier, Answer::Yes, false, 0,
         {QStringLiteral("other.dl2"), QStringLiteral("q7-netX.dl2")}, "", true},
        {"a log that cannot be removed is named and nothing starts", {base, QStringLiteral("q7-net-1.dl2")},
         Answer::Yes, true, 0, {QStringLiteral("q7-net-1.dl2")},
         "q7-net-1.dl2 is used by another application software.", false},
        {"a start outside the bus is ended again", {}, Answer::None, false, 1, {}, "", false},
        {"a log the library cannot make is ended again", {}, Answer::None, false, 2, {}, "", false},
    };
    const QString start = QStringLiteral("saveQ7Data(1, \"%1\")").arg(program().q7dataFolder);
    const QString stop = QStringLiteral("saveQ7Data(0, \"%1\")").arg(program().q7dataFolder);
    for (const Case& c : cases) {
      for (const QString& file : c.files) world->folder.write(QStringLiteral("q7data/") + file, "log");
      fake().results["saveQ7Data"] = c.library;
      frmMap& window = displayMode();
      fake().calls.clear();
      {
        QuestionWatch question(c.answer);
        MessageCollector messages;
        std::optional<ScopedFileFault> fault;
        if (c.removalFails) fault.emplace(FileFault{FileCall::RemoveFile, EBUSY});
        QTest::keyClick(&window, Qt::Key_F7);
        QVERIFY2(question.asked == (c.answer != Answer::None), c.fault);
        if (question.asked) {
          QVERIFY2(question.lines == QStringLiteral("Save the previous QVII-NET communications data.|OK?"), c.fault);
        }
        QVERIFY2(messages.keys == (*c.message ? QStringList{QStringLiteral("6-4")} : QStringList()), c.fault);
        if (*c.message) QVERIFY2(frmMessage::instance().labelStrings[1] == QLatin1String(c.message), c.fault);
      }
      QVERIFY2(logs() == c.remaining, c.fault);
      QStringList calls;
      if (c.started || c.library != 0) calls << start;
      if (c.library != 0) calls << stop;
      QVERIFY2(fake().calls == calls, c.fault);
      QVERIFY2(window.isRecordingBusData() == c.started, c.fault);
      QVERIFY2(inside(window).cmdMode[1]->text() ==
                   (c.started ? QStringLiteral("QVII data rec. end (F7)") : QStringLiteral("QVII data rec. start (F7)")),
               c.fault);
      if (c.started) {
        QTest::keyClick(&window, Qt::Key_F7);
        QVERIFY2(!window.isRecordingBusData() && fake().calls.last() == stop, c.fault);
      }
      for (const QString& file : logs()) QFile::remove(QDir(logFolder()).filePath(file));
      window.unload();
    }
  }

  void withoutItsFolderNothingIsLoggedOrTold() {
    frmMap& window = displayMode();
    MessageCollector messages;
    // A folder that cannot be listed answers no, and says nothing.
    bool deleted = true;
    window.deleteQ7dataFile(world->folder.file(QStringLiteral("missing/q7-net")), deleted);
    QVERIFY(!deleted);
    // No log folder could be made at the start (told then): F7 starts nothing.
    program().q7dataFolder.clear();
    fake().calls.clear();
    QTest::keyClick(&window, Qt::Key_F7);
    QVERIFY(fake().calls.isEmpty() && !window.isRecordingBusData());
    QVERIFY(messages.keys.isEmpty());
    QVERIFY(!checkWhetherQ7dataFileExists(world->folder.file(QStringLiteral("missing/q7-net"))));
  }
};

QTEST_MAIN(Q7dataSameFileTest)
#include "q7data_same_file_test.moc"
