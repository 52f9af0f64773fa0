#include "display/data_show_layout.h"

#include "display/twips_math.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

using namespace dataShowDesign;

namespace {

// A control's place in the button row: left = W x fromRight + left, top =
// the frames' top + top.
struct RowPlace {
  int32_t fromRight;
  int32_t left;
  int32_t top;
};
struct ButtonRow {
  int32_t widerThan;  // the row holds for W above this
  RowPlace cboAircon, cmdSearch, cmdCancel, cmdPrint;
};
// Wide windows put the unit box and the buttons in one row right of the
// frames; narrower ones stack them under the item list.
constexpr std::array<ButtonRow, 3> kButtonRows = {{
    {10930, {1, -5400, 210}, {1, -3840, 220}, {1, -1750, 200}, {1, -2250, 200}},
    {9930, {0, 5530, 240}, {0, 7080, 240}, {1, -1750, -170}, {1, -650, 215}},
    {INT32_MIN, {0, 5530, -80}, {0, 5530, 250}, {1, -1750, -170}, {1, -650, 215}},
}};

TwipsPoint place(const RowPlace& at, int32_t w, int32_t frameTop) {
  return TwipsPoint{at.fromRight * w + at.left, frameTop + at.top};
}

void placeTimeTicks(DataShowLayout& layout) {
  // The first value of the right end of the samples, before the area's own
  // geometry is known.
  const int32_t right = roundedQuotient(int64_t(layout.picAnalog.width) * 995, 1000);
  const int32_t top = layout.height - 1350;
  const int32_t bottom = layout.height - 1200;
  const double half = right / 2.0;
  const std::array<double, 3> x = {double(kLeftTickX), half + 45, double(right + 40)};
  const std::array<double, 3> labelLeft = {double(kLeftTimeLabelLeft), half - 200, double(right - 400)};
  for (std::size_t i = 0; i < 3; ++i) layout.timeTicks[i] = TimeTick{x[i], top, bottom, labelLeft[i], bottom + 20};
}

void placeButtonRow(DataShowLayout& layout) {
  const int32_t w = layout.width;
  layout.frameTop = layout.height - 960;
  for (const ButtonRow& row : kButtonRows) {
    if (w <= row.widerThan) continue;
    layout.cboAircon = place(row.cboAircon, w, layout.frameTop);
    layout.cmdSearch = place(row.cmdSearch, w, layout.frameTop);
    layout.cmdCancel = place(row.cmdCancel, w, layout.frameTop);
    layout.cmdPrint = place(row.cmdPrint, w, layout.frameTop);
    return;
  }
}

}  // namespace

bool laysOut(WindowShow show, int32_t innerWidth, int32_t innerHeight) {
  if (show == WindowShow::Minimised) return false;
  if (show == WindowShow::Maximised) {
    return innerWidth + kFrameWidth >= kMinimumWidth && innerHeight + kFrameHeight >= kMinimumHeight;
  }
  return true;
}

DataShowLayout layoutDataShow(int32_t innerWidth, int32_t innerHeight) {
  DataShowLayout layout;
  const int32_t w = std::max(innerWidth + kFrameWidth, kMinimumWidth);
  const int32_t h = std::max(innerHeight + kFrameHeight, kMinimumHeight);
  layout.width = w;
  layout.height = h;
  layout.graphWidth = w > 13000 ? w - 5000 : roundedQuotient(int64_t(w) * 6, 10);
  const int32_t g = layout.graphWidth;

  layout.picAnalog = TwipsBox{kAnalogLeft, kAnalogTop, g - kVscaleWidth - 60 - 50, h - 2900};
  layout.picDigital = TwipsBox{kDigitalLeft, h - 2850, layout.picAnalog.width, kDigitalHeight};
  placeTimeTicks(layout);
  layout.picVscale = TwipsBox{g - kVscaleWidth - 20, kVscaleTop, kVscaleWidth, layout.picAnalog.height - 20};
  layout.txtCurY = TwipsPoint{layout.picVscale.left, layout.picDigital.top};
  layout.detail = TwipsPoint{layout.picVscale.left + 20, layout.picDigital.top + 340};

  layout.grdList = TwipsBox{g, kListTop, w - g - 120, h - 1440};
  layout.lblDayLeft = g;
  layout.lblDayWidth = layout.grdList.width;
  layout.lblDayTop = h - 1360;
  if (w > 10930) {
    layout.grdList.height += 380;
    layout.lblDayTop += 380;
  }
  placeButtonRow(layout);
  return layout;
}

AreaGeometry areaGeometry(int32_t scaleWidth, int32_t scaleHeight) {
  AreaGeometry g;
  g.graphTop = scaleHeight / 1000;
  g.graphBottom = static_cast<int32_t>(int64_t(scaleHeight) * 999 / 1000);
  g.graphLeft = static_cast<int32_t>(int64_t(scaleWidth) * 5 / 1000);
  g.graphRight = static_cast<int32_t>(int64_t(scaleWidth) * 995 / 1000);
  // Truncation toward zero of the negative numerator keeps every level on
  // or below the exact line.
  for (int32_t i = 0; i <= 120; ++i) g.levelY[i] = g.graphBottom + ((g.graphTop - g.graphBottom) * i) / 120;
  return g;
}

int32_t levelAt(double y, int32_t scaleHeight) {
  if (scaleHeight <= 0) return 0;
  // (1 - y / height) x 120 - 20, with one division so that whole results
  // stay whole.
  return static_cast<int32_t>(std::floor((100.0 * scaleHeight - 120.0 * y) / scaleHeight));
}

bool levelReadOutShown(int32_t horizontalCursorOption, bool live) { return horizontalCursorOption == 1 && !live; }

std::vector<int32_t> subLineYs(int32_t scaleHeight, int32_t subLineOption) {
  std::vector<int32_t> ys;
  if (subLineOption != 10 && subLineOption != 20) return ys;
  const int32_t parts = 120 / subLineOption;
  const int32_t step = roundedQuotient(int64_t(scaleHeight) * subLineOption, 120);
  for (int32_t i = 1; i < parts; ++i) ys.push_back(step * i);
  return ys;
}

VerticalScale verticalScale(int32_t scaleHeight, int32_t labelHeight) {
  VerticalScale scale;
  const int32_t step = roundedQuotient(scaleHeight, 24);  // 5 %
  const double half = labelHeight / 2.0;
  for (int32_t a = 1; a <= 23; a += 2) {
    scale.ticks.push_back(ScaleTick{step * a, 70});
    const int32_t l = a + 1;
    const int32_t y = step * l;
    scale.ticks.push_back(ScaleTick{y, 120});
    const int32_t percent = 100 - 5 * l;
    // The labels sit centred on their tick; those above 0 % a little lower,
    // and "-20" above the bottom edge.
    double top = y - half + 17;
    if (l == 20 || l == 22) top = y - half;
    if (l == 24) top = y - labelHeight - 6;
    scale.labels.push_back(ScaleLabel{percent, top});
  }
  return scale;
}

std::array<LaneBar, 8> digitalBars(const std::array<int32_t, 9>& laneLineY) {
  std::array<LaneBar, 8> bars;
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const int32_t y = laneLineY[i];
    const int32_t lane = laneLineY[i + 1] - y;
    bars[i] = LaneBar{y + lane / 4, y + (3 * lane) / 4};
  }
  return bars;
}
