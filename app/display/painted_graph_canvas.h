// The display window's graphs as they are seen: the plotting's lines, points
// and boxes painted in twips into the backing images of the analog and
// digital areas, the legends and lane labels shown as the areas' child
// labels, and the dotted sub-lines and the vertical scale drawn before every
// item.
#pragma once

#include "display/data_show_layout.h"
#include "display/graph_plot.h"

#include <array>
#include <cstdint>

class GraphArea;
class QLabel;
class QPainter;
class QWidget;

struct GraphAreaParts {
  GraphArea* analog = nullptr;
  GraphArea* digital = nullptr;
  GraphArea* scale = nullptr;  // the vertical scale strip
  std::array<QLabel*, 8> legends{};     // lblAnalog, children of the analog area
  std::array<QLabel*, 8> laneLabels{};  // lblDigital, children of the digital area
  // The scale's labels from the top: "90" .. "10", "0%", "-10", "-20".
  std::array<QLabel*, 12> scaleLabels{};
  QWidget* readOut = nullptr;  // txtCurY
};

class PaintedGraphCanvas final : public GraphCanvas {
 public:
  explicit PaintedGraphCanvas(const GraphAreaParts& parts);

  // The display options the scales follow: sub-lines every 10 or 20 % (0
  // none), and whether the level read-out is shown.
  void setScaleOptions(int32_t subLineOption, bool readOutShown);
  // Ends a drawing: the areas show what was painted.
  void finish();
  // Puts the scale's labels beside the places of their ticks (a layout
  // does, before any tick is drawn); answers the scale.
  VerticalScale placeScaleLabels();

  void clearAnalog() override;
  void clearDigital() override;
  void drawScales() override;
  void stroke(TwipsXY from, TwipsXY to, uint32_t colour) override;
  void point(TwipsXY at, uint32_t colour) override;
  void box(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) override;
  void showLegend(int32_t pen, int32_t listNumber, int32_t left, int32_t top) override;
  void showLaneLabel(int32_t lane, int32_t listNumber) override;

 private:
  void drawSubLines();
  void drawVerticalScale();
  // The analog area's painter with a solid pen of the colour.
  QPainter& analogPen(uint32_t colour);

  GraphAreaParts parts_;
  int32_t subLineOption_ = 0;
  bool readOutShown_ = false;
};
