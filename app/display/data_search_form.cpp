#include "display/data_search_form.h"

#include "display/frmDataShow.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/library/library_text.h"
#include "frame/library/tramsoll_api.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/slice_driver.h"
#include "frame/sliced_library_jobs.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"

#include <QApplication>
#include <QMdiArea>
#include <QPushButton>

#include <utility>

namespace {

constexpr int kNoMatchText = 468;
constexpr int32_t kPrepared = 0;

// Buttons on the right of the window, twips.
constexpr int kButtonLeft = 2760;
constexpr int kButtonWidth = 1560;
constexpr int kButtonHeight = 420;

}  // namespace

DataSearchForm::DataSearchForm() {
  setCloseBox(CloseBox::None);
  cmdSearchFirst =
      placeControl<QPushButton>(this, {kButtonLeft, 180, kButtonWidth, kButtonHeight}, QStringLiteral("Search from top (F1)"));
  cmdSearchNext =
      placeControl<QPushButton>(this, {kButtonLeft, 720, kButtonWidth, kButtonHeight}, QStringLiteral("Search next (F2)"));
  cmdCancel =
      placeControl<QPushButton>(this, {kButtonLeft, 1500, kButtonWidth, kButtonHeight}, QStringLiteral("Cancel (Esc)"));
  for (QPushButton* button : {cmdSearchFirst, cmdSearchNext, cmdCancel}) button->setAutoDefault(false);
  driver_ = new SliceDriver(this);
  connect(driver_, &SliceDriver::ended, this, [this](SliceOutcome outcome, int32_t value) {
    // The next job may be started from here: the handler goes first.
    if (auto ended = std::exchange(whenEnded_, nullptr)) ended(outcome, value);
  });
  keys_.add(Qt::Key_F1, cmdSearchFirst, this, [this] { search(true); });
  keys_.add(Qt::Key_F2, cmdSearchNext, this, [this] { search(false); });
  keys_.add(Qt::Key_Escape, cmdCancel, this, &DataSearchForm::cancel);
  keys_.previewKeysOf(*this);
}

void DataSearchForm::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  setWindowTitle(captionText() + QLatin1Char('(') + dataItemName + QLatin1Char(')'));
  searchCancelled_ = false;
  cmdSearchFirst->setEnabled(true);
  cmdSearchNext->setEnabled(true);
  unsetCursor();
  program().dialogOpen.raise();
}

void DataSearchForm::onUnload() {
  // Whatever ends the window ends its search.
  whenEnded_ = nullptr;
  driver_->cancel();
  program().dialogOpen.lower();
}

bool DataSearchForm::searching() const { return driver_->isRunning(); }

void DataSearchForm::cancel() {
  searchCancelled_ = true;
  whenEnded_ = nullptr;
  driver_->cancel();
  unload();
  focusParent();
}

void DataSearchForm::focusParent() {
  frmDataShow* parent = parentForm.data();
  if (!parent || parent->flagForEnd) return;
  if (QMdiArea* area = mainMdiArea(); area && parent->subWindow()) area->setActiveSubWindow(parent->subWindow());
  parent->setFocus();
}

void DataSearchForm::beginBusy() {
  setCursor(Qt::WaitCursor);
  cmdSearchFirst->setEnabled(false);
  cmdSearchNext->setEnabled(false);
}

void DataSearchForm::endBusy() {
  cmdSearchFirst->setEnabled(true);
  cmdSearchNext->setEnabled(true);
  unsetCursor();
}

void DataSearchForm::search(bool fromTop) {
  frmDataShow* parent = parentForm.data();
  if (!parent || searching() || !inputAccepted()) return;
  storeSettings(*parent);
  // A recording without records holds nothing to match; the library is not
  // asked to scan it.
  if (parent->graphSystem().graphTotalNum < 1) {
    showNoMatch();
    return;
  }
  beginBusy();
  if (wantsMinMax(*parent)) {
    runMinMaxPass(fromTop);
  } else {
    runSearchStep(fromTop);
  }
}

void DataSearchForm::runMinMaxPass(bool fromTop) {
  if (searchCancelled_) return;
  const QByteArray folder = textForLibrary(customDir);
  if (tramsollApi().setMinMaxSrch(folder.constData(), fileNumber, airconType, airconNumber, dataitemNumber) !=
      kPrepared) {
    searchFailed();
    return;
  }
  whenEnded_ = [this, fromTop](SliceOutcome outcome, int32_t) {
    if (outcome == SliceOutcome::Cancelled) return;
    minMaxEnded();
    if (parentForm && parentForm->flagSearchMinMax) runSearchStep(fromTop);
  };
  driver_->start(minMaxSearchSlices());
}

void DataSearchForm::minMaxEnded() {
  float minimum = 0;
  float maximum = 0;
  frmDataShow* parent = parentForm.data();
  // Without a finished pass the limits would be 0, and a search on them a
  // false hit.
  if (tramsollApi().getMinMaxData(&minimum, &maximum) != 0 || !parent) {
    searchFailed();
    return;
  }
  parent->searchMinValue = minimum;
  parent->searchMaxValue = maximum;
  parent->flagSearchMinMax = true;
}

void DataSearchForm::runSearchStep(bool fromTop) {
  frmDataShow* parent = parentForm.data();
  if (searchCancelled_ || !parent) return;
  const GraphSystem& graph = parent->graphSystem();
  const int32_t start = !fromTop && graph.graphCusorNo < graph.graphTotalNum ? graph.graphCusorNo + 1 : 1;
  const SearchCondition wanted = condition(*parent);
  const QByteArray folder = textForLibrary(customDir);
  if (tramsollApi().setDataSrch(folder.constData(), fileNumber, airconType, airconNumber, dataitemNumber, start,
                                wanted.flag, wanted.value) != kPrepared) {
    searchFailed();
    return;
  }
  whenEnded_ = [this](SliceOutcome outcome, int32_t record) { searchStepEnded(outcome, record); };
  driver_->start(dataSearchSlices());
}

void DataSearchForm::searchStepEnded(SliceOutcome outcome, int32_t record) {
  if (outcome == SliceOutcome::Cancelled) return;
  if (outcome == SliceOutcome::Failed) {
    searchFailed();
    return;
  }
  if (record == 0) {
    endBusy();
    showNoMatch();
    return;
  }
  const QPointer<frmDataShow> parent = parentForm;
  unload();
  QApplication::processEvents();
  focusParent();
  if (parent) parent->moveCusor(record);
}

void DataSearchForm::showNoMatch() { showMessage(QString(), tableText(kNoMatchText), QString(), QString()); }

void DataSearchForm::searchFailed() {
  endBusy();
  showMessage(QString(), QStringLiteral("The search could not be completed."), QString(), QString());
}
