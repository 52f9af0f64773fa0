// Drawing of the graphed items over the screen. Each item's samples are
// fetched at most 121 at a time and drawn either as a line in its pen on the
// analog area, with a legend beside its first usable value, or as bars in
// its lane of the digital area, with the lane's label. Everything is drawn
// in twips onto a canvas: the window paints it with QPainter, a test logs it.
#pragma once

#include "display/data_show_layout.h"

#include <array>
#include <cstdint>
#include <vector>

class RecordArithmetic;

// One item to draw: where the library finds it, how and in which slot.
struct PlotRequest {
  int32_t unitKind = 0;    // 0 outdoor, 1 indoor, 100 central, 200 sensor
  int32_t unitNumber = 0;  // the unit's airconNumber
  int32_t dataItemNo = 0;  // the library's item number
  int32_t graphKind = 0;   // 0 analog, 1 digital
  int32_t slot = 0;        // pen (analog) or lane (digital), 0..7
  int32_t listNumber = 0;  // the item's row in the item list, its label's caption
  bool operator==(const PlotRequest&) const = default;
};

struct TwipsXY {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TwipsXY&) const = default;
};

// The two drawing areas of a display window with their labels.
class GraphCanvas {
 public:
  virtual ~GraphCanvas() = default;
  // Clears the analog area and hides the eight legends.
  virtual void clearAnalog() = 0;
  // Clears the digital area and hides the eight lane labels.
  virtual void clearDigital() = 0;
  // The sub-lines and the vertical scale, drawn anew before every item.
  virtual void drawScales() = 0;
  // A line and a point on the analog area.
  virtual void stroke(TwipsXY from, TwipsXY to, uint32_t colour) = 0;
  virtual void point(TwipsXY at, uint32_t colour) = 0;
  // A filled box on the digital area.
  virtual void box(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) = 0;
  // Shows a pen's legend with the list number at (left, top).
  virtual void showLegend(int32_t pen, int32_t listNumber, int32_t left, int32_t top) = 0;
  // Shows a lane's label with the list number.
  virtual void showLaneLabel(int32_t lane, int32_t listNumber) = 0;
};

// Samples of one getGraphData call, each a whole percentage of full scale.
inline constexpr int32_t kGraphChunk = 121;
using GraphChunk = std::array<int32_t, kGraphChunk>;

// Where the samples come from: the library through the window.
class GraphSamples {
 public:
  virtual ~GraphSamples() = default;
  // Fills samples[0 .. count-1] with the item's samples from record first.
  virtual void getGraphData(const PlotRequest& item, int32_t first, int32_t count, GraphChunk& samples) = 0;
  // The window is closing: drawing stops before the next call.
  virtual bool closing() const = 0;
};

// One getGraphData call: count samples from record first.
struct GraphDataCall {
  int32_t first = 0;
  int32_t count = 0;
  bool operator==(const GraphDataCall&) const = default;
};
// The calls that fetch num samples from first. Neighbouring calls share one
// sample so that their lines join; a screen of one sample draws nothing.
std::vector<GraphDataCall> graphDataCalls(int32_t first, int32_t num);

// The level index (percent + 20) a sample is drawn at: values below -20 %
// lie on the -20 % line, values above 100 % on the 100 % line.
int32_t levelIndex(int32_t sample);

class GraphPlotter {
 public:
  GraphPlotter(GraphCanvas& canvas, GraphSamples& samples) : canvas_(canvas), samples_(samples) {}

  // The geometry of the current layout.
  void setGeometry(const AreaGeometry& analog, const std::array<LaneBar, 8>& bars);

  // Full redraws: clear the area, then plot the items in the order given.
  void showAnalogGraph(const std::vector<PlotRequest>& items, const RecordArithmetic& screen);
  void showDigitalGraph(const std::vector<PlotRequest>& items, const RecordArithmetic& screen);
  // Draws one item over what the area shows.
  void plotItem(const PlotRequest& item, const RecordArithmetic& screen);

 private:
  struct Legend {
    bool visible = false;
    int32_t left = 0;
    int32_t top = 0;
  };
  void drawAnalogChunk(const GraphChunk& samples, int32_t count, int32_t first, int32_t pen,
                       const RecordArithmetic& screen);
  bool placeLegend(const GraphChunk& samples, int32_t count, const PlotRequest& item);
  void drawDigitalChunk(const GraphChunk& samples, int32_t count, int32_t first, int32_t lane,
                        const RecordArithmetic& screen);

  GraphCanvas& canvas_;
  GraphSamples& samples_;
  AreaGeometry analog_;
  std::array<LaneBar, 8> bars_ = digitalBars();
  std::array<Legend, 8> legends_{};
};
