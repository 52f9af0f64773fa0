#include "frame/form.h"

#include "frame/control_names.h"
#include "frame/fit_to_text.h"
#include "frame/key_table.h"
#include "frame/main_window.h"
#include "frame/twips.h"

#include <QCloseEvent>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>

namespace {

std::vector<Form*>& forms() {
  static std::vector<Form*> made;
  return made;
}

// A title bar without buttons: the window closes through its own Cancel.
constexpr Qt::WindowFlags kNoButtons = Qt::CustomizeWindowHint | Qt::WindowTitleHint;

Q_LOGGING_CATEGORY(windowsLog, "pelomar.windows", QtWarningMsg)

void activateLastShownWindow(QMdiArea& area) {
  const QList<QMdiSubWindow*> history = area.subWindowList(QMdiArea::ActivationHistoryOrder);
  for (auto window = history.rbegin(); window != history.rend(); ++window) {
    if ((*window)->isVisible()) {
      area.setActiveSubWindow(*window);
      return;
    }
  }
}

// Where the font needs more room than the design gives, a dialog grows
// about its centre, keeping clear of the screen's left and top.
QPoint grownOrigin(const QRect& place, QSize grown) {
  return QPoint(std::max(place.x() - grown.width() / 2, 0), std::max(place.y() - grown.height() / 2, 0));
}

void fitSubWindowToTexts(QWidget& form, QMdiSubWindow& subWindow, QSize frameInTwips) {
  const QSize frame(twipsToPixels(frameInTwips.width()), twipsToPixels(frameInTwips.height()));
  // A hidden sub-window has not given its widget the size yet.
  form.resize(subWindow.size() - frame);
  const QSize client = fitControlsToTexts(form, titleWidthNeeded(subWindow) - frame.width());
  // A child window keeps its place (cascaded display windows stay in step)
  // and grows to the right and down.
  if (client + frame != subWindow.size()) subWindow.resize(client + frame);
}

void fitDialogToTexts(QDialog& dialog) {
  const QSize client = fitControlsToTexts(dialog, titleWidthNeeded(dialog));
  const QSize grown = client - dialog.size();
  if (grown.isNull()) return;
  dialog.setGeometry(QRect(grownOrigin(dialog.geometry(), grown), client));
}

}  // namespace

Form::Form() { forms().push_back(this); }

Form::~Form() { std::erase(forms(), this); }

const std::vector<Form*>& madeForms() { return forms(); }

void unloadEveryForm() {
  // An unload handler may make or unload other windows: walk a copy and
  // skip the ones that have gone meanwhile.
  const std::vector<Form*> snapshot = forms();
  for (auto form = snapshot.rbegin(); form != snapshot.rend(); ++form) {
    if (std::find(forms().begin(), forms().end(), *form) == forms().end()) continue;
    if ((*form)->isLoaded()) (*form)->unload();
  }
}

// ---- ChildForm ----

ChildForm::ChildForm() = default;

void ChildForm::load() {
  if (loaded_) return;
  if (!subWindow_) {
    // The sub-window is made once and only hidden on unload, so the window
    // object and its members outlive every closing.
    subWindow_ = new QMdiSubWindow;
    subWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    subWindow_->setWidget(this);
    applyCloseBox();
    connect(subWindow_, &QMdiSubWindow::aboutToActivate, this, [this] {
      qCInfo(windowsLog, "active window: %s", qPrintable(windowTitle()));
      onActivate();
    });
    if (QMdiArea* area = mainMdiArea()) area->addSubWindow(subWindow_);
    subWindow_->hide();
  }
  loaded_ = true;
  onLoad();
  if (subWindow_) fitSubWindowToTexts(*this, *subWindow_, frameTwips());
  nameControlsAfterLabels(*this);
  emit loaded();
}

void ChildForm::unload() {
  if (!loaded_) return;
  loaded_ = false;
  hideSubWindow();
  onUnload();
}

void ChildForm::showForm() {
  load();
  if (!subWindow_) return;
  QMdiArea* area = mainMdiArea();
  if (area && area->activeSubWindow() != subWindow_) opener_ = area->activeSubWindow();
  subWindow_->show();
  show();
  if (area) area->setActiveSubWindow(subWindow_);
}

void ChildForm::hideSubWindow() {
  if (!subWindow_) return;
  QMdiArea* area = mainMdiArea();
  const bool active = area && area->activeSubWindow() == subWindow_;
  subWindow_->hide();
  // The MDI area keeps a hidden window active, and the keys with it: the
  // window it was opened from takes over, else the one active before it.
  if (!active) return;
  if (opener_ && opener_->isVisible()) {
    area->setActiveSubWindow(opener_);
  } else {
    activateLastShownWindow(*area);
  }
}

void ChildForm::deleteWithSubWindow() {
  if (subWindow_) {
    delete subWindow_.data();  // deletes this window with it
  } else {
    delete this;
  }
}

void deleteChildFormLater(ChildForm* window) {
  if (!window) return;
  // The MDI area owns the sub-window that holds a loaded window.
  if (QMdiSubWindow* holder = window->subWindow()) {
    holder->deleteLater();
  } else {
    window->deleteLater();
  }
}

bool ChildForm::hasKeysOfItsOwn() const { return KeyTable::hasKeysWithin(*this); }

void ChildForm::setCloseBox(CloseBox closeBox) {
  closeBox_ = closeBox;
  applyCloseBox();
}

void ChildForm::applyCloseBox() {
  if (!subWindow_ || closeBox_ != CloseBox::None) return;
  subWindow_->setWindowFlags(Qt::SubWindow | kNoButtons);
}

void ChildForm::closeEvent(QCloseEvent* event) {
  // The program itself closes windows by unloading them: a close event is
  // the engineer's (or the window system's).
  if (closeBox_ == CloseBox::Unloads) {
    event->accept();
    unload();
    return;
  }
  event->ignore();
  cancel();
}

void ChildForm::setGeometryTwips(int left, int top, int width, int height) {
  if (subWindow_) subWindow_->setGeometry(twipsRect(left, top, width, height));
}

void ChildForm::centreInMainWindowTwips(int width, int height) {
  const QSize inner = mainInnerSize();
  setGeometryTwips((pixelsToTwips(inner.width()) - width) / 2, (pixelsToTwips(inner.height()) - height) / 2, width,
                   height);
}

QSize ChildForm::frameTwips() const {
  if (!subWindow_) return QSize();
  // A sub-window keeps its frame width on three sides and its title bar on
  // top.
  QStyle* style = subWindow_->style();
  QStyleOptionTitleBar title;
  title.initFrom(subWindow_);
  const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, subWindow_);
  const int titleBar = style->pixelMetric(QStyle::PM_TitleBarHeight, &title, subWindow_);
  return QSize(pixelsToTwips(2 * border), pixelsToTwips(titleBar + border));
}

void ChildForm::centreClientInMainWindowTwips(int width, int height) {
  if (!subWindow_) return;
  const QSize frame = frameTwips();
  centreInMainWindowTwips(width + frame.width(), height + frame.height());
}

void ChildForm::resizeClientTwips(int width, int height) {
  if (!subWindow_) return;
  const QSize frame = frameTwips();
  subWindow_->resize(twipsToPixels(width + frame.width()), twipsToPixels(height + frame.height()));
}

// ---- DialogForm ----

DialogForm::DialogForm() : QDialog(mainWindow()) {}

void DialogForm::load() {
  if (loaded_) return;
  loaded_ = true;
  onLoad();
  fitDialogToTexts(*this);
  nameControlsAfterLabels(*this);
}


void DialogForm::unload() {
  if (!loaded_) return;
  loaded_ = false;
  if (isVisible()) QDialog::done(QDialog::Rejected);
  onUnload();
}

int DialogForm::showModal() {
  load();
  return exec();
}

void DialogForm::showModeless() {
  load();
  setModal(false);
  show();
  raise();
  activateWindow();
}

void DialogForm::cancel() { QDialog::reject(); }

bool DialogForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) onActivate();
  return QDialog::event(event);
}

void DialogForm::setCloseBox(CloseBox closeBox) {
  closeBox_ = closeBox;
  if (closeBox == CloseBox::None) setWindowFlags(Qt::Dialog | kNoButtons);
}

void DialogForm::done(int result) {
  QDialog::done(result);
  unload();
}

void DialogForm::reject() {
  if (closeBox_ == CloseBox::Unloads) {
    QDialog::reject();
    return;
  }
  cancel();
}

void DialogForm::setGeometryTwips(int left, int top, int width, int height) {
  setGeometry(twipsRect(left, top, width, height));
}

void DialogForm::centreInMainWindowTwips(int width, int height) {
  // The inner area lies on the screen where the MDI area is.
  const QSize inner = mainInnerSize();
  const QPoint origin = mainInnerOrigin();
  setGeometryTwips(pixelsToTwips(origin.x()) + (pixelsToTwips(inner.width()) - width) / 2,
                   pixelsToTwips(origin.y()) + (pixelsToTwips(inner.height()) - height) / 2, width, height);
}
