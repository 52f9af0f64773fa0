// The display window's layout as pure functions in twips: the places of its
// controls from the window's inner size, the drawing geometry of the analog
// area (sample x range, the y of every level from -20 % to 100 %), the
// dotted sub-lines, the vertical scale, the level read-out under the mouse
// and the bars of the digital lanes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct TwipsPoint {
  int32_t left = 0;
  int32_t top = 0;
  bool operator==(const TwipsPoint&) const = default;
};

struct TwipsBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const TwipsBox&) const = default;
};

// Design values of the window that the layout keeps.
namespace dataShowDesign {
inline constexpr int32_t kAnalogLeft = 60;
inline constexpr int32_t kAnalogTop = 40;
inline constexpr int32_t kVscaleTop = 50;
inline constexpr int32_t kVscaleWidth = 390;
inline constexpr int32_t kDigitalLeft = 60;
inline constexpr int32_t kDigitalHeight = 1500;
inline constexpr int32_t kListTop = 40;
inline constexpr int32_t kLeftTickX = 110;
inline constexpr int32_t kLeftTimeLabelLeft = 60;
inline constexpr int32_t kTimeLabelWidth = 540;
// The lane lines of the digital area, 180 twips apart.
inline constexpr std::array<int32_t, 9> kLaneLineY = {0, 180, 360, 540, 720, 900, 1080, 1260, 1440};
// The scale's figures stand right of its long ticks.
inline constexpr int32_t kScaleLabelLeft = 130;
// The dotted sub-lines run across any width the analog area can have.
inline constexpr int32_t kSubLineRight = 34000;
// The window's outer size is its inner size plus its frame; the layout
// counts with this frame whatever the window manager draws.
inline constexpr int32_t kFrameWidth = 110;
inline constexpr int32_t kFrameHeight = 390;
// The smallest outer size laid out.
inline constexpr int32_t kMinimumWidth = 9330;
inline constexpr int32_t kMinimumHeight = 5625;
// The smallest inner size in whole pixels (the outer minimum rounded up).
inline constexpr int32_t kMinimumInnerWidthPixels = 615;
inline constexpr int32_t kMinimumInnerHeightPixels = 349;
}  // namespace dataShowDesign

// One time tick under the graphs (linGraph) with its label (lblGraph). The
// middle tick stands at half the sample range, so it can fall on a half twip.
struct TimeTick {
  double x = 0;
  int32_t top = 0;
  int32_t bottom = 0;
  double labelLeft = 0;
  int32_t labelTop = 0;
  bool operator==(const TimeTick&) const = default;
};

struct DataShowLayout {
  int32_t width = 0;       // W, the outer width
  int32_t height = 0;      // H, the outer height
  int32_t graphWidth = 0;  // G, the width of the graph side
  TwipsBox picAnalog;
  TwipsBox picDigital;
  TwipsBox picVscale;
  std::array<TimeTick, 3> timeTicks;  // left, middle, right
  TwipsPoint txtCurY;
  TwipsPoint detail;
  TwipsBox grdList;
  int32_t lblDayLeft = 0;
  int32_t lblDayWidth = 0;
  int32_t lblDayTop = 0;
  int32_t frameTop = 0;  // fraGraph and fraCusor
  TwipsPoint cboAircon;
  TwipsPoint cmdSearch;
  TwipsPoint cmdCancel;
  TwipsPoint cmdPrint;
};

enum class WindowShow { Normal, Minimised, Maximised };

// Whether a resize lays the window out: never while minimised, and not
// while maximised into a screen smaller than the smallest window.
bool laysOut(WindowShow show, int32_t innerWidth, int32_t innerHeight);
// The places of the controls for an inner size (pixels x 15); a size below
// the smallest window is laid out as the smallest window.
DataShowLayout layoutDataShow(int32_t innerWidth, int32_t innerHeight);

// Drawing geometry of the analog area, from its inner size.
struct AreaGeometry {
  int32_t graphTop = 0;     // y of the 100 % level
  int32_t graphBottom = 0;  // y of the -20 % level
  int32_t graphLeft = 0;    // x of the first sample of a screen
  int32_t graphRight = 0;   // x of the last sample of a screen
  std::array<int32_t, 121> levelY{};  // y of level index i = percent + 20
};
AreaGeometry areaGeometry(int32_t scaleWidth, int32_t scaleHeight);

// The level in percent read out at height y of an area of that height:
// 100 at the top edge, -20 at the bottom.
int32_t levelAt(double y, int32_t scaleHeight);
// The read-out and the horizontal cursor follow the mouse only with the
// horizontal cursor option on, and never in a live window.
bool levelReadOutShown(int32_t horizontalCursorOption, bool live);

// y of the dotted sub-lines for the sub-line option (0 none, 10 or 20 per
// cent); each runs from x 0 to kSubLineRight.
std::vector<int32_t> subLineYs(int32_t scaleHeight, int32_t subLineOption);

// The vertical scale strip: a short and a long tick every 10 %, and the
// labels "90" .. "10", "0%", "-10", "-20" centred on the long ticks ("100"
// keeps its design place at the top).
struct ScaleTick {
  int32_t y = 0;
  int32_t length = 0;  // from x 0
  bool operator==(const ScaleTick&) const = default;
};
struct ScaleLabel {
  int32_t percent = 0;  // 90 .. -20, naming the label
  double top = 0;
  bool operator==(const ScaleLabel&) const = default;
};
struct VerticalScale {
  std::vector<ScaleTick> ticks;
  std::vector<ScaleLabel> labels;
};
VerticalScale verticalScale(int32_t scaleHeight, int32_t labelHeight);

// The bar of each digital lane while its item is on: the middle half of the
// lane between two lane lines.
struct LaneBar {
  int32_t top = 0;
  int32_t bottom = 0;
  bool operator==(const LaneBar&) const = default;
};
std::array<LaneBar, 8> digitalBars(const std::array<int32_t, 9>& laneLineY = dataShowDesign::kLaneLineY);
