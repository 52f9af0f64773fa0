// The analog value search and the error-code search of a replay over the
// fake library, which runs the searches as the library does (32 records a
// slice, records without a value skipped, wrapping from the last record to
// the first): where each condition puts the display window's cursor, the
// minimum and maximum pass run once per row, a missing limit, no match, a
// search the library cannot complete, and Cancel while slices run.
#include "display/frmDataShow.h"
#include "display/frmSearchAnalog.h"
#include "display/frmSearchErrorCode.h"
#include "frame/dialogs/frmMessage.h"
#include "support/display_windows.h"
#include "support/program_fixture.h"
#include "types/unit_kinds.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <map>
#include <optional>
#include <vector>

namespace {

constexpr int32_t kSlice = 32;
constexpr int32_t kFrequency = 1;  // the library's numbers of the two items
constexpr int32_t kErrorCode = 2;

// The library's searches over the values of the two items.
class FakeSearches {
 public:
  std::map<int32_t, std::vector<std::optional<float>>> values;
  int32_t minMaxAnswer = -1;   // getMinMaxData's answer when set
  int32_t prepareAnswer = 0;   // setDataSrch's answer
  int32_t sliceAnswer = -1;    // execDataSrch's answer when set
  bool endless = false;        // the value search never ends by itself

  void install(FakeTramsoll& fake) {
    fake.on<decltype(::setMinMaxSrch)>("setMinMaxSrch", [this](const char*, int32_t, int32_t, int32_t, int32_t item) {
      item_ = item;
      position_ = 0;
      minimum_ = 1e16f;
      maximum_ = -1e16f;
      return 0;
    });
    fake.on<decltype(::execMinMaxSrch)>("execMinMaxSrch", [this](int32_t* progress) {
      const auto& v = values[item_];
      for (int32_t n = 0; n < kSlice && position_ < int32_t(v.size()); ++n, ++position_) {
        if (!v[position_]) continue;
        minimum_ = std::min(minimum_, *v[position_]);
        maximum_ = std::max(maximum_, *v[position_]);
      }
      *progress = position_ * 100 / int32_t(v.size());
      return position_ < int32_t(v.size()) ? 1 : 0;
    });
    fake.on<decltype(::getMinMaxData)>("getMinMaxData", [this](float* minimum, float* maximum) {
      const bool done = position_ >= int32_t(values[item_].size());
      *minimum = done ? minimum_ : 0;
      *maximum = done ? maximum_ : 0;
      if (minMaxAnswer >= 0) return minMaxAnswer;
      return done ? 0 : 1;
    });
    fake.on<decltype(::setDataSrch)>("setDataSrch", [this](const char*, int32_t, int32_t, int32_t, int32_t item,
                                                           int32_t start, int32_t flag, float limit) {
      item_ = item;
      position_ = start - 1;
      visited_ = 0;
      above_ = flag == 1;
      limit_ = limit;
      return prepareAnswer;
    });
    fake.on<decltype(::execDataSrch)>("execDataSrch", [this](int32_t* record) {
      if (sliceAnswer >= 0) return sliceAnswer;
      const auto& v = values[item_];
      const int32_t count = int32_t(v.size());
      for (int32_t n = 0; n < kSlice && !endless; ++n) {
        if (visited_ == count) return 1;
        const auto& value = v[position_];
        if (value && (above_ ? *value >= limit_ : *value <= limit_)) {
          *record = position_ + 1;
          visited_ = count;
          return 0;
        }
        ++visited_;
        position_ = (position_ + 1) % count;
      }
      *record = position_;
      return 2;
    });
  }

 private:
  int32_t item_ = 0;
  int32_t position_ = 0;
  int32_t visited_ = 0;
  bool above_ = false;
  float limit_ = 0;
  float minimum_ = 0;
  float maximum_ = 0;
};

const std::optional<float> none;

enum Button { Top, Next };

// One search and what it comes to: the cursor's record afterwards, the
// message's key and first line ("" for none).
struct Search {
  int option;  // 0..3, -1 the error-code search
  const char* limit;
  Button button;
  int32_t cursor;
  const char* message = "";
};

}  // namespace

class SearchWindowsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<DisplayWorld> display;
  FakeSearches searches;
  std::shared_ptr<frmDataShow> window;

  // The search window as the display window sets it up, shown.
  DataSearchForm& searchWindow(bool analog) {
    DataSearchForm& search = analog ? static_cast<DataSearchForm&>(frmSearchAnalog::instance())
                                    : frmSearchErrorCode::instance();
    search.parentForm = window.get();
    search.dataItemName = analog ? QStringLiteral("1 O-1-Freq") : QStringLiteral("2 O-1-Err");
    search.customDir = window->customDir;
    search.fileNumber = window->fileNumber;
    search.airconType = kOutdoorUnit;
    search.airconNumber = 1;
    search.dataitemNumber = analog ? kFrequency : kErrorCode;
    search.load();
    search.show();
    return search;
  }

  // Runs one search; the message it showed, as key and first line.
  QString run(const Search& s) {
    DataSearchForm& search = searchWindow(s.option >= 0);
    if (s.option >= 0) {
      auto& analog = frmSearchAnalog::instance();
      analog.optAnalog[std::size_t(s.option)]->setChecked(true);
      (s.option == 0 ? analog.txtUpValue : analog.txtDownValue)->setText(QString::fromLatin1(s.limit));
    }
    frmMessage::instance().labelStrings = {};
    MessageCollector messages;
    QTest::keyClick(s.button == Top ? search.cmdSearchFirst : search.cmdSearchNext, s.button == Top ? Qt::Key_F1 : Qt::Key_F2);
    // The message, if any, comes as the search ends and is answered then.
    const auto answered = [&] {
      return !search.searching() && !qobject_cast<frmMessage*>(QApplication::activeModalWidget());
    };
    if (!QTest::qWaitFor(answered, 30000)) return QStringLiteral("still searching");
    return messages.keys.isEmpty() ? QString() : messages.keys.first() + '|' + frmMessage::instance().labelStrings[1];
  }

 private slots:
  void init() {
    display = std::make_unique<DisplayWorld>();
    display->items->setItems(kOutdoorUnit, 1, {analog("Freq"), FakeItem{"Err", " ", 2}});
    display->items->records = 10;
    searches = FakeSearches{};
    searches.values[kFrequency] = {5, 7, none, 9, 3, 9, 2, 8, none, 6};
    searches.values[kErrorCode] = {0, 0, 1, 0, 2, 0, 0, 0, 0, 0};
    searches.install(display->fake());
    window = display->openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    QVERIFY(window);
  }
  void cleanup() {
    window.reset();
    display.reset();
  }

  void searchesPutTheCursorOnWhatTheyFind() {
    const Search steps[] = {
        {2, "", Top, 4},    {2, "", Next, 6},  {2, "", Next, 4},  // the maximum 9, wrapping round
        {3, "", Top, 7},                                          // the minimum 2
        {1, "4.5", Next, 5}, {1, " 4.5 ", Next, 7},  // at or below, from the cursor on the last record
        {0, "8", Next, 8},   {0, "+8", Next, 4},    {0, "1e1", Top, 4, "|No corresponding data."},
        {-1, "", Top, 3},   {-1, "", Next, 5},    {-1, "", Next, 3},  // error codes 1 and 2
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
      const Search& s = steps[i];
      if (i == 4) window->moveCusor(10);
      const QString message = run(s);
      const QByteArray where = "search " + QByteArray::number(int(i) + 1) + ": ";
      QVERIFY2(message == QLatin1String(s.message), where + message.toUtf8());
      QVERIFY2(window->graphSystem().graphCusorNo == s.cursor,
               where + QByteArray::number(window->graphSystem().graphCusorNo));
      DataSearchForm& search = s.option >= 0 ? static_cast<DataSearchForm&>(frmSearchAnalog::instance())
                                             : frmSearchErrorCode::instance();
      // A hit closes the window; no match leaves it open for another try.
      QVERIFY2(search.isLoaded() == !message.isEmpty(), where + "loaded");
      if (!search.isLoaded()) continue;
      QVERIFY2(search.cmdSearchFirst->isEnabled() && search.cmdSearchNext->isEnabled(), where + "buttons");
      search.cancel();
    }
    // The row's minimum and maximum were found once; the window keeps them.
    QCOMPARE(display->fake().callsOf(QStringLiteral("setMinMaxSrch")).size(), 1);
    QVERIFY(window->flagSearchMinMax && window->searchMinValue == 2 && window->searchMaxValue == 9);
    QCOMPARE(window->searchIndex, 0);
    QCOMPARE(window->searchUpValue, 10.0f);
    QVERIFY(display->fake().callsOf(QStringLiteral("setDataSrch")).contains(
        QStringLiteral("setDataSrch(\"C07\", 2, 0, 1, 1, 1, 1, 10)")));
    // The next opening shows the last condition.
    searchWindow(true);
    QVERIFY(frmSearchAnalog::instance().optAnalog[0]->isChecked());
    QCOMPARE(frmSearchAnalog::instance().txtUpValue->text(), QStringLiteral("10"));
    QCOMPARE(frmSearchAnalog::instance().txtDownValue->text(), QStringLiteral("4.5"));
    frmSearchAnalog::instance().cancel();
  }

  void aLimitThatIsNoNumberAsksForOne() {
    for (const char* limit : {"", "   ", "4,5", "abc", "1e99"}) {
      for (const int option : {0, 1}) {
        display->fake().calls.clear();
        QCOMPARE(run({option, limit, Top, 10}), QStringLiteral("15-1|"));
        auto& analog = frmSearchAnalog::instance();
        QCOMPARE(analog.focusWidget(), option == 0 ? analog.txtUpValue : analog.txtDownValue);
        QVERIFY(display->fake().calls.isEmpty());
        QVERIFY(analog.cmdSearchFirst->isEnabled());
        analog.cancel();
      }
    }
  }

  void aSearchTheLibraryCannotCompleteSaysSo() {
    struct Case {
      const char* name;
      int option;
      std::function<void(FakeSearches&)> fault;
    };
    const Case cases[] = {
        {"no minimum and maximum", 2, [](FakeSearches& f) { f.minMaxAnswer = 1; }},
        {"preparation refused", 0, [](FakeSearches& f) { f.prepareAnswer = 3; }},
        {"an unknown slice answer", 0, [](FakeSearches& f) { f.sliceAnswer = 5; }},
        {"error codes, preparation refused", -1, [](FakeSearches& f) { f.prepareAnswer = 1; }},
    };
    for (const Case& c : cases) {
      FakeSearches faulty = searches;
      c.fault(faulty);
      faulty.install(display->fake());
      window->flagSearchMinMax = false;
      QVERIFY2(run({c.option, "5", Top, 10}) == QStringLiteral("|The search could not be completed."), c.name);
      QVERIFY2(window->graphSystem().graphCusorNo == 10 && !window->flagSearchMinMax, c.name);
      DataSearchForm& search = c.option >= 0 ? static_cast<DataSearchForm&>(frmSearchAnalog::instance())
                                             : frmSearchErrorCode::instance();
      QVERIFY2(search.isLoaded() && search.cmdSearchFirst->isEnabled() && search.cmdSearchNext->isEnabled(), c.name);
      search.cancel();
    }
  }

  void cancelEndsARunningSearch() {
    searches.endless = true;
    searches.install(display->fake());
    DataSearchForm& search = searchWindow(false);
    search.cmdSearchFirst->click();
    QTRY_VERIFY(display->fake().callsOf(QStringLiteral("execDataSrch")).size() > 3);
    QVERIFY(search.searching() && !search.cmdSearchFirst->isEnabled() && search.cmdCancel->isEnabled());
    QTest::keyClick(search.cmdCancel, Qt::Key_Escape);
    QVERIFY(!search.isLoaded() && !search.searching());
    const qsizetype slices = display->fake().callsOf(QStringLiteral("execDataSrch")).size();
    QTest::qWait(50);
    QCOMPARE(display->fake().callsOf(QStringLiteral("execDataSrch")).size(), slices);
    QCOMPARE(window->graphSystem().graphCusorNo, 10);
  }

  void theDisplayWindowsSearchKeyOpensTheSearchModal() {
    // F7 on the frequency row: the analog search, modal; Search from top
    // finds the first value at or above 8 and closes it.
    window->grdList->setCurrentCell(0, 1);
    QString caption;
    answerNextModal([&caption](QWidget* modal) {
      caption = modal->windowTitle();
      frmSearchAnalog::instance().txtUpValue->setText(QStringLiteral("8"));
      QTest::keyClick(frmSearchAnalog::instance().txtUpValue, Qt::Key_F1);
    });
    QTest::keyClick(window->grdList, Qt::Key_F7);
    QCOMPARE(caption, QStringLiteral("(1 O-1-Freq)"));
    QCOMPARE(window->graphSystem().graphCusorNo, 4);
    QVERIFY(!frmSearchAnalog::instance().isLoaded());
  }

  void searchKeyOnARecordingWithoutRecordsOpensASearchThatFindsNothing() {
    display->items->records = 0;
    const std::shared_ptr<frmDataShow> empty = display->openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    QVERIFY(empty);
    empty->grdList->setCurrentCell(0, 1);
    display->fake().calls.clear();
    QString caption;
    QStringList said;
    answerNextModal([&caption, &said](QWidget* modal) {
      caption = modal->windowTitle();
      frmSearchAnalog& analog = frmSearchAnalog::instance();
      frmMessage::instance().labelStrings = {};
      MessageCollector messages;
      for (const int option : {2, 0}) {
        analog.optAnalog[std::size_t(option)]->setChecked(true);
        analog.txtUpValue->setText(QStringLiteral("8"));
        QTest::keyClick(analog.txtUpValue, Qt::Key_F1);
        said << messages.keys.join(',') + '|' + frmMessage::instance().labelStrings[1];
        messages.keys.clear();
      }
      analog.cancel();
    });
    QTest::keyClick(empty->grdList, Qt::Key_F7);
    QCOMPARE(caption, QStringLiteral("(1 O-1-Freq)"));
    QCOMPARE(said, QStringList(2, QStringLiteral("|No corresponding data.")));
    QVERIFY(display->fake().callsOf(QStringLiteral("setMinMaxSrch")).isEmpty());
    QVERIFY(display->fake().callsOf(QStringLiteral("setDataSrch")).isEmpty());
    QCOMPARE(empty->graphSystem().graphCusorNo, 0);
  }
};

QTEST_MAIN(SearchWindowsTest)
#include "search_windows_test.moc"
