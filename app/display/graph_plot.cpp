#include "display/graph_plot.h"

#include "display/pen_table.h"
#include "display/record_arithmetic.h"

#include <algorithm>

namespace {

constexpr int32_t kLegendLeft = 75;
constexpr int32_t kLegendHeight = 180;
constexpr int32_t kLegendSpacing = 300;

bool usable(int32_t sample) { return sample >= -20 && sample <= 100; }
bool validSlot(int32_t slot) { return slot >= 0 && slot < kPens; }

}  // namespace

std::vector<GraphDataCall> graphDataCalls(int32_t first, int32_t num) {
  std::vector<GraphDataCall> calls;
  for (int32_t remaining = num; remaining >= 2; remaining -= kGraphChunk - 1) {
    calls.push_back(GraphDataCall{first, std::min(remaining, kGraphChunk)});
    first += kGraphChunk - 1;
  }
  return calls;
}

int32_t levelIndex(int32_t sample) { return std::clamp(sample, -20, 100) + 20; }

void GraphPlotter::setGeometry(const AreaGeometry& analog, const std::array<LaneBar, 8>& bars) {
  analog_ = analog;
  bars_ = bars;
}

void GraphPlotter::showAnalogGraph(const std::vector<PlotRequest>& items, const RecordArithmetic& screen) {
  if (samples_.closing()) return;
  canvas_.clearAnalog();
  legends_ = {};
  for (const PlotRequest& item : items) plotItem(item, screen);
}

void GraphPlotter::showDigitalGraph(const std::vector<PlotRequest>& items, const RecordArithmetic& screen) {
  if (samples_.closing()) return;
  canvas_.clearDigital();
  for (const PlotRequest& item : items) plotItem(item, screen);
}

void GraphPlotter::plotItem(const PlotRequest& item, const RecordArithmetic& screen) {
  if (samples_.closing() || !validSlot(item.slot)) return;
  canvas_.drawScales();
  const std::vector<GraphDataCall> calls = graphDataCalls(screen.screen().graphStartNo, screen.screen().graphNum);
  if (calls.empty()) return;
  const bool analog = item.graphKind == 0;
  bool legendPlaced = false;
  GraphChunk samples;
  for (const GraphDataCall& call : calls) {
    if (samples_.closing()) break;
    samples.fill(0);
    samples_.getGraphData(item, call.first, call.count, samples);
    if (analog) {
      drawAnalogChunk(samples, call.count, call.first, item.slot, screen);
      if (!legendPlaced) legendPlaced = placeLegend(samples, call.count, item);
    } else {
      drawDigitalChunk(samples, call.count, call.first, item.slot, screen);
    }
  }
  if (!analog) canvas_.showLaneLabel(item.slot, item.listNumber);
}

// Runs of equal values cost one stroke: a line goes on to a sample only
// where the value changes, by way of the last sample of the run before.
void GraphPlotter::drawAnalogChunk(const GraphChunk& samples, int32_t count, int32_t first, int32_t pen,
                                   const RecordArithmetic& screen) {
  const uint32_t colour = kPenColor[pen];
  auto at = [&](int32_t j) {
    return TwipsXY{screen.recordX(first + j), analog_.levelY[levelIndex(samples[j])]};
  };
  TwipsXY current = at(1);
  canvas_.stroke(at(0), current, colour);
  auto lineTo = [&](int32_t j) {
    const TwipsXY to = at(j);
    canvas_.stroke(current, to, colour);
    current = to;
  };
  int32_t next = 2;  // the first sample no line has reached
  for (int32_t j = 2; j <= count - 2; ++j) {
    if (samples[j] == samples[next - 1]) continue;
    if (j != next) lineTo(j - 1);
    lineTo(j);
    next = j + 1;
  }
  if (count > 2) {
    if (count != next + 1) lineTo(count - 2);
    lineTo(count - 1);
  }
  canvas_.point(current, colour);
}

// The legend sits at the item's first value within the scale, above the
// line near the bottom; legends that would overlap stand side by side.
bool GraphPlotter::placeLegend(const GraphChunk& samples, int32_t count, const PlotRequest& item) {
  const auto end = samples.begin() + count;
  const auto found = std::find_if(samples.begin(), end, usable);
  if (found == end) return false;
  const int32_t value = *found;
  Legend placed{true, kLegendLeft, analog_.levelY[value + 20]};
  if (value < -10) placed.top -= kLegendHeight;
  legends_[item.slot].visible = false;
  for (int32_t m = 0; m < kPens; ++m) {
    const Legend& other = legends_[m];
    if (m == item.slot || !other.visible) continue;
    const bool overlaps = other.top - kLegendHeight < placed.top && other.top + kLegendHeight > placed.top;
    if (overlaps && placed.left <= other.left) placed.left = other.left + kLegendSpacing;
  }
  legends_[item.slot] = placed;
  canvas_.showLegend(item.slot, item.listNumber, placed.left, placed.top);
  return true;
}

// A run of "on" samples (value 1) is one box from its first "on" sample to
// the first "off" sample after it, or to the chunk's end.
void GraphPlotter::drawDigitalChunk(const GraphChunk& samples, int32_t count, int32_t first, int32_t lane,
                                    const RecordArithmetic& screen) {
  const LaneBar bar = bars_[lane];
  auto box = [&](int32_t from, int32_t to) {
    canvas_.box(screen.recordX(first + from), bar.top, screen.recordX(first + to), bar.bottom, kDigitalColor);
  };
  bool open = samples[0] == 1;
  int32_t start = 0;
  for (int32_t i = 1; i < count; ++i) {
    const bool on = samples[i] == 1;
    if (!on && open) {
      box(start, i);
      open = false;
    } else if (on && !open) {
      open = true;
      start = i;
    }
  }
  if (open) box(start, count - 1);
}
