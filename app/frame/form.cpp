#include "frame/form.h"

#include "frame/frmMdi.h"
#include "frame/twips.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

ChildForm::ChildForm() = default;

void ChildForm::load() {
  if (loaded_) return;
  if (!subWindow_) {
    // The sub-window is made once and only hidden on unload, so the window
    // object and its members outlive every closing.
    subWindow_ = new QMdiSubWindow;
    subWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    subWindow_->setWidget(this);
    connect(subWindow_, &QMdiSubWindow::aboutToActivate, this, [this] { onActivate(); });
    frmMdi::instance().mdiArea->addSubWindow(subWindow_);
    subWindow_->hide();
  }
  loaded_ = true;
  onLoad();
}

void ChildForm::unload() {
  if (!loaded_) return;
  loaded_ = false;
  if (subWindow_) subWindow_->hide();
  onUnload();
}

void ChildForm::showForm() {
  load();
  subWindow_->show();
  show();
  frmMdi::instance().mdiArea->setActiveSubWindow(subWindow_);
}

void ChildForm::closeEvent(QCloseEvent* event) {
  event->accept();
  unload();
}

void ChildForm::setGeometryTwips(int left, int top, int width, int height) {
  if (subWindow_) subWindow_->setGeometry(twipsRect(left, top, width, height));
}

void ChildForm::centreInMainWindowTwips(int width, int height) {
  const QSize inner = frmMdi::instance().innerSize();
  setGeometryTwips((pixelsToTwips(inner.width()) - width) / 2, (pixelsToTwips(inner.height()) - height) / 2, width,
                   height);
}

DialogForm::DialogForm() : QDialog(&frmMdi::instance()) {}

void DialogForm::load() {
  if (loaded_) return;
  loaded_ = true;
  onLoad();
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

void DialogForm::done(int result) {
  QDialog::done(result);
  unload();
}

void DialogForm::setGeometryTwips(int left, int top, int width, int height) {
  setGeometry(twipsRect(left, top, width, height));
}
