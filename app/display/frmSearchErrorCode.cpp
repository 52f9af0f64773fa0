#include "display/frmSearchErrorCode.h"

#include "frame/texts/text_table.h"
#include "frame/window_controls.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kCaptionText = 277;
// An error is present when the item's value is 1 or more.
constexpr SearchCondition kErrorPresent{1, 1.0f};

}  // namespace

frmSearchErrorCode::frmSearchErrorCode() {
  lblErrorCode =
      placeControl<QLabel>(this, {240, 240, 2400, 600}, QStringLiteral("Error code will be searched."));
  lblErrorCode->setWordWrap(true);
}

void frmSearchErrorCode::onLoad() {
  DataSearchForm::onLoad();
  applyTableCaptions(*this, kCaptionText,
                     {{lblErrorCode, 278}, {cmdSearchFirst, 279}, {cmdSearchNext, 280}, {cmdCancel, 17}});
  setWindowTitle(captionText() + QLatin1Char('(') + dataItemName + QLatin1Char(')'));
}

QString frmSearchErrorCode::captionText() const { return tableText(kCaptionText); }

SearchCondition frmSearchErrorCode::condition(const frmDataShow&) const { return kErrorPresent; }
