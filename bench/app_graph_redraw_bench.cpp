// A full redraw of a display window's graphs, as every 5 s monitor tick and
// every navigation step runs it: 8 analog and 8 two-state items of one
// outdoor unit over a live screen of 121 records, drawn into the window's
// backing images. The samples come from a small scripted library of the
// benchmark's own; no two neighbouring samples are equal, so every sample
// costs its own stroke (analog) or box edge (digital). The target is under
// 5 ms per redraw on one core. Also reports the redraw as a ratio to
// painting the same lines and boxes straight onto an image of the same size
// in the same run (absolute times differ from machine to machine; the ratio
// much less). Before any figure the redraws are checked: 8 + 8 items
// graphed, the eighth pen and lane drawn; a wrong answer ends the run with
// an error and no figure.
#include "checked_main.h"
#include "display/data_items.h"
#include "display/frmDataShow.h"
#include "frame/library/tramsoll_api.h"
#include "records/data_show_replay.h"
#include "types/unit_kinds.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include <chrono>
#include <cstring>
#include <string>

namespace {

constexpr int32_t kItems = 16;  // 1..8 analog, 9..16 two-state, all graphed by default
constexpr int32_t kSamples = 121;

int32_t sampleOf(int32_t item, int32_t record) {
  if (item > 8) return record % 2;  // on and off by turns
  return (record % 2 == 0 ? 10 : 70) + item;  // zigzag
}

// Every export answers 0 and writes nothing, except the three a display
// window's items and graphs need.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
class SilentLibrary : public TramsollApi {
 public:
#define PELOMAR_SILENT_EXPORT(name, params, args) \
  int32_t name params override { return 0; }
  TRAMSOLL_EXPORTS(PELOMAR_SILENT_EXPORT)
#undef PELOMAR_SILENT_EXPORT
};
#pragma GCC diagnostic pop

class ScriptedLibrary final : public SilentLibrary {
 public:
  int32_t getDataItemNum(int32_t, const char*, int32_t, int32_t, int32_t, int32_t, int32_t* count, int32_t* total,
                         int32_t* trigger, int32_t* interval) override {
    *count = kItems;
    *total = kSamples;
    *trigger = 0;
    *interval = 5;
    return 0;
  }
  int32_t getDataItem(int32_t, const char*, int32_t, int32_t, int32_t, int32_t, int32_t item, char* name,
                      int32_t* nameLength, char* fullScale, int32_t* fullScaleLength, int32_t* dataType,
                      int32_t* graphDefault, char*, int32_t* state0Length, char*, int32_t* state1Length, int32_t*,
                      int32_t*) override {
    std::strcpy(name, "Item");
    *nameLength = 4;
    std::strcpy(fullScale, "100");
    *fullScaleLength = 3;
    *dataType = item > 8 ? 1 : 0;
    *graphDefault = 1;
    *state0Length = *state1Length = 0;
    return 0;
  }
  int32_t getGraphData(int32_t, const char*, int32_t, int32_t, int32_t, int32_t, int32_t item, int32_t first,
                       int32_t count, int32_t* values) override {
    for (int32_t j = 0; j < count; ++j) values[j] = sampleOf(item, first + j);
    return 0;
  }
};

std::shared_ptr<frmDataShow> openedWindow() {
  std::shared_ptr<frmDataShow> window = frmDataShow::create();
  GraphSystem& graph = window->graphSystem();
  graph.systemKind = kOrdinarySystem;
  graph.systemNumber = 1;
  graph.airconNumberNow = 1;
  addGraphAircons(graph.airconsOut, kOutdoorUnit, 1);
  window->load();
  window->setDataItem();
  window->setDefaultGraph();
  window->showDataItem();
  window->showGraphMarkerFirst();
  return window;
}

// The same lines and boxes straight onto an image of the analog area's size.
double barePainting(QSize size, int64_t rounds) {
  QImage analog(size, QImage::Format_RGB32);
  QImage digital(size.width(), 98, QImage::Format_RGB32);
  const double step = (size.width() - 4) / double(kSamples - 1);
  const auto start = std::chrono::steady_clock::now();
  for (int64_t round = 0; round < rounds; ++round) {
    analog.fill(Qt::white);
    digital.fill(Qt::white);
    QPainter lines(&analog);
    for (int32_t item = 1; item <= 8; ++item) {
      lines.setPen(QPen(QColor(item * 30, 0, 0), 0));
      for (int32_t j = 1; j < kSamples; ++j) {
        lines.drawLine(QPointF(2 + step * (j - 1), sampleOf(item, j)), QPointF(2 + step * j, sampleOf(item, j + 1)));
      }
    }
    lines.end();
    QPainter boxes(&digital);
    for (int32_t lane = 0; lane < 8; ++lane) {
      for (int32_t j = 1; j < kSamples; j += 2) boxes.fillRect(QRectF(2 + step * j, lane * 12 + 3, step + 1, 7), Qt::blue);
    }
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What the redraws drew; "" when it is right.
std::string drawnWrong(const frmDataShow& window) {
  const GraphedCounts counts = window.graphedCounts();
  if (counts.analogCount != 8 || counts.digitalCount != 8) {
    return "the window graphs " + std::to_string(counts.analogCount) + " + " + std::to_string(counts.digitalCount) +
           " items, not 8 + 8";
  }
  if (!window.lblAnalog[7]->isVisibleTo(window.picAnalog) || !window.lblDigital[7]->isVisibleTo(window.picDigital)) {
    return "the eighth pen or lane was not drawn";
  }
  return {};
}

void redrawBothGraphs(benchmark::State& state) {
  ScriptedLibrary library;
  installTramsollApi(&library);
  const std::shared_ptr<frmDataShow> window = openedWindow();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) window->showGraph();
  const double redrawing = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (const std::string wrong = drawnWrong(*window); !wrong.empty()) {
    failWithWrongAnswer(state, wrong);
  } else {
    const double bare = barePainting(window->picAnalog->image().size(), static_cast<int64_t>(state.iterations()));
    state.counters["ratio_to_bare_painting"] = bare > 0 ? redrawing / bare : 0;
    state.counters["ms_per_redraw"] = 1000 * redrawing / static_cast<double>(state.iterations());
  }
  window->unload();
  installTramsollApi(nullptr);
}
BENCHMARK(redrawBothGraphs)->Unit(benchmark::kMillisecond);

}  // namespace

// A wrong answer fails the run as well as skipping its benchmark.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return runCheckedBenchmarks(argc, argv);
}
