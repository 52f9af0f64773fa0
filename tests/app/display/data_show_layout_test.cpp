// The display window's layout in twips and the geometry of its drawing areas.
#include "display/data_show_layout.h"

#include <QtTest>

class DataShowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void placesOfTheControls() {
    struct Case {
      const char* name;
      int32_t innerWidth, innerHeight;
      int32_t w, h, g, analogWidth, analogHeight, digitalTop;
      double middleTick;
      int32_t rightTick, vscaleLeft, listWidth, listHeight, dayTop;
      TwipsPoint cbo, search, cancel, print;
    };
    const Case cases[] = {
        {"smallest window", 9220, 5235, 9330, 5625, 5598, 5098, 2725, 2775, 2581.5, 5113, 5188, 3612, 4185, 4265,
         {5530, 4585}, {5530, 4915}, {7580, 4495}, {8680, 4880}},
        {"below the smallest is laid out as the smallest", 5000, 3000, 9330, 5625, 5598, 5098, 2725, 2775, 2581.5, 5113,
         5188, 3612, 4185, 4265, {5530, 4585}, {5530, 4915}, {7580, 4495}, {8680, 4880}},
        {"middle band puts search beside the unit box", 10000, 5235, 10110, 5625, 6066, 5566, 2725, 2775, 2814, 5578,
         5656, 3924, 4185, 4265, {5530, 4905}, {7080, 4905}, {8360, 4495}, {9460, 4880}},
        {"wide window: one button row, longer list", 12000, 6000, 12110, 6390, 7266, 6766, 3490, 3540, 3411, 6772, 6856,
         4724, 5330, 5410, {6710, 5640}, {8270, 5650}, {10360, 5630}, {9860, 5630}},
        {"very wide window leaves 5000 to the list", 14000, 5235, 14110, 5625, 9110, 8610, 2725, 2775, 4328.5, 8607,
         8700, 4880, 4565, 4645, {8710, 4875}, {10270, 4885}, {12360, 4865}, {11860, 4865}},
        {"a half twip rounds to the even one", 9223, 5235, 9333, 5625, 5600, 5100, 2725, 2775, 2582, 5114, 5190, 3613,
         4185, 4265, {5530, 4585}, {5530, 4915}, {7583, 4495}, {8683, 4880}},
    };
    for (const Case& c : cases) {
      const DataShowLayout l = layoutDataShow(c.innerWidth, c.innerHeight);
      const QByteArray name(c.name);
      QVERIFY2(l.width == c.w && l.height == c.h && l.graphWidth == c.g && l.frameTop == c.h - 960, name);
      QVERIFY2(l.picAnalog == (TwipsBox{60, 40, c.analogWidth, c.analogHeight}) &&
                   l.picDigital == (TwipsBox{60, c.digitalTop, c.analogWidth, 1500}) &&
                   l.picVscale == (TwipsBox{c.vscaleLeft, 50, 390, c.analogHeight - 20}),
               name);
      for (const TimeTick& t : l.timeTicks) {
        QVERIFY2(t.top == c.h - 1350 && t.bottom == c.h - 1200 && t.labelTop == c.h - 1180, name);
      }
      QVERIFY2(l.timeTicks[0].x == 110 && l.timeTicks[1].x == c.middleTick && l.timeTicks[2].x == c.rightTick, name);
      QVERIFY2(l.timeTicks[1].labelLeft == c.middleTick - 245 && l.timeTicks[2].labelLeft == c.rightTick - 440, name);
      QVERIFY2(l.txtCurY == (TwipsPoint{c.vscaleLeft, c.digitalTop}) &&
                   l.detail == (TwipsPoint{c.vscaleLeft + 20, c.digitalTop + 340}),
               name);
      QVERIFY2(l.grdList == (TwipsBox{c.g, 40, c.listWidth, c.listHeight}) && l.lblDayLeft == c.g &&
                   l.lblDayWidth == c.listWidth && l.lblDayTop == c.dayTop,
               name);
      QVERIFY2(l.cboAircon == c.cbo && l.cmdSearch == c.search, name);
      QVERIFY2(l.cmdCancel == c.cancel && l.cmdPrint == c.print, name);
    }
  }

  void whenAResizeLaysOut() {
    QVERIFY(!laysOut(WindowShow::Minimised, 12000, 6000));
    QVERIFY(!laysOut(WindowShow::Maximised, 9219, 6000) && !laysOut(WindowShow::Maximised, 12000, 5234));
    QVERIFY(laysOut(WindowShow::Maximised, 9220, 5235) && laysOut(WindowShow::Normal, 100, 100));
  }

  void geometryOfAnArea() {
    const AreaGeometry g = areaGeometry(6000, 3000);
    QVERIFY(g.graphTop == 3 && g.graphBottom == 2997 && g.graphLeft == 30 && g.graphRight == 5970);
    QVERIFY(g.levelY[0] == 2997 && g.levelY[70] == 1251 && g.levelY[120] == 3);
    QCOMPARE(g.levelY[20], 2498);  // truncated toward zero, not down
    const std::pair<double, int32_t> readOuts[] = {{750, 70}, {2999, -20}, {1500, 40}, {0, 100}, {3000, -20},
                                                   {26, 98}, {750.5, 69}};
    for (const auto& [y, level] : readOuts) QCOMPARE(levelAt(y, 3000), level);
    QCOMPARE(levelAt(10, 0), 0);
    QVERIFY(levelReadOutShown(1, false) && !levelReadOutShown(0, false) && !levelReadOutShown(1, true));
  }

  void subLinesAndScale() {
    const std::vector<int32_t> tenths = subLineYs(3000, 10);
    QVERIFY(tenths.size() == 11 && tenths.front() == 250 && tenths.back() == 2750);
    QCOMPARE(subLineYs(3000, 20), (std::vector<int32_t>{500, 1000, 1500, 2000, 2500}));
    QCOMPARE(subLineYs(2718, 20).front(), 453);
    QCOMPARE(subLineYs(2718, 10).front(), 226);  // 226.5 to the even twip
    QVERIFY(subLineYs(3000, 0).empty() && subLineYs(3000, 15).empty());  // none, or a damaged option

    const VerticalScale scale = verticalScale(2705, 180);  // 5 % steps of 113
    QVERIFY(scale.ticks.size() == 24 && scale.ticks[0] == (ScaleTick{113, 70}) &&
            scale.ticks[1] == (ScaleTick{226, 120}) && scale.ticks[23] == (ScaleTick{2712, 120}));
    QCOMPARE(scale.labels.size(), size_t(12));
    QVERIFY(scale.labels[0] == (ScaleLabel{90, 153}) && scale.labels[8] == (ScaleLabel{10, 2034 - 90 + 17}));
    QVERIFY(scale.labels[9] == (ScaleLabel{0, 2170}) && scale.labels[10] == (ScaleLabel{-10, 2396}));
    QVERIFY(scale.labels[11] == (ScaleLabel{-20, 2526}));
    QCOMPARE(verticalScale(2705, 195).labels[0].top, 145.5);
  }

  void barsSpanTheMiddleHalfOfEachLane() {
    const std::array<LaneBar, 8> bars = digitalBars();
    for (int32_t i = 0; i < 8; ++i) QVERIFY(bars[i] == (LaneBar{180 * i + 45, 180 * i + 135}));
    const std::array<LaneBar, 8> uneven = digitalBars({0, 181, 362, 540, 720, 900, 1080, 1260, 1443});
    QVERIFY(uneven[0] == (LaneBar{45, 135}) && uneven[7] == (LaneBar{1305, 1397}));
  }
};

QTEST_MAIN(DataShowLayoutTest)
#include "data_show_layout_test.moc"
