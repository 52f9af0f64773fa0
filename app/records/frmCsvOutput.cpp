#include "records/frmCsvOutput.h"

#include "frame/control_names.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kTitleEntry = 19;
constexpr int kMessageEntry = 323;
constexpr int kCancelEntry = 324;

constexpr QColor kBarColour(0, 0, 255);

}  // namespace

CsvProgressBar::CsvProgressBar(QWidget* parent) : QWidget(parent) { markDrawingArea(*this); }

void CsvProgressBar::fillTo(int per) {
  if (per <= 0) return;
  // Whole units of the area: the fraction of the width is dropped.
  const int width = static_cast<int>(static_cast<long long>(this->width()) * per / 100);
  if (width <= filledWidth_) return;
  filledWidth_ = width;
  update();
}

void CsvProgressBar::clear() {
  filledWidth_ = 0;
  update();
}

void CsvProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  painter.fillRect(0, 0, filledWidth_, height(), kBarColour);
}

frmCsvOutput::frmCsvOutput() {
  setWindowTitle(QStringLiteral("Pelomar Vexa 5 Software"));
  lbl1 = placeControl<QLabel>(this, {240, 240, 4000, 300}, QStringLiteral("CSV data is being output."));
  picCsvOutput = placeControl<CsvProgressBar>(this, {240, 660, 4000, 420});
  lblPercent = placeControl<QLabel>(this, {240, 1140, 4000, 300}, QStringLiteral("0%"));
  lblPercent->setAlignment(Qt::AlignCenter);
  cmdCancel = placeControl<QPushButton>(this, {1500, 1620, 1500, 420}, QStringLiteral("Cancel (Esc)"));
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cancel(); });
  keys_.add(Qt::Key_Escape, cmdCancel);
  setCloseBox(CloseBox::RunsCancel);
}

void frmCsvOutput::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  lblPercent->setText(QStringLiteral("0%"));
  picCsvOutput->clear();
  applyTableCaptions(*this, kTitleEntry, {{lbl1, kMessageEntry}, {cmdCancel, kCancelEntry}});
}

void frmCsvOutput::drawPictuteCsvOutput(int per) {
  lblPercent->setText(QString::number(per) + QLatin1Char('%'));
  picCsvOutput->fillTo(per);
}

void frmCsvOutput::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  DialogForm::keyPressEvent(event);
}
