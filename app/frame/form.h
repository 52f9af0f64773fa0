// How the program's windows live.
//
// Loading and unloading are explicit and apart from construction: load()
// runs the window's load handler (onLoad) and unload() its unload handler
// (onUnload) and hides it; the object and its public members stay, so other
// windows can still read them after it closed. Every window made is listed in
// one program-wide list (madeForms), which the end of the program and the
// tests walk instead of naming windows.
//
// ChildForm is a child window inside the main window's MDI area; DialogForm
// is a window owned by the main window, shown modal (showModal) or modeless
// (showModeless). Each has a Cancel road (cancel); by default its close box
// unloads it, and a window may route the close box through its Cancel road
// or have none (setCloseBox).
//
// Each activation of a child window is written to the logging category
// "pelomar.windows" (info, off by default: QT_LOGGING_RULES=
// "pelomar.windows.info=true").
#pragma once

#include <QDialog>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class Form {
 public:
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  virtual bool isLoaded() const = 0;
  virtual void unload() = 0;
  // What the window's Cancel button (and Esc) does; a window without a
  // Cancel of its own just unloads.
  virtual void cancel() { unload(); }

 protected:
  Form();
  virtual ~Form();
};

// Every window that exists, in the order they were made.
const std::vector<Form*>& madeForms();
// Unloads every loaded window, the last made first.
void unloadEveryForm();

enum class CloseBox {
  Unloads,     // the close box unloads the window
  RunsCancel,  // the close box runs the window's Cancel road instead
  None,        // no close box; a close asked by the window system runs Cancel
};

class ChildForm : public QWidget, public Form {
  Q_OBJECT
 public:
  bool isLoaded() const override { return loaded_; }
  // Runs the load handler once until the next unload and puts the window
  // into the main window's MDI area (hidden until shown).
  void load();
  void unload() override;
  // Loads when needed, shows and activates the window. The window that was
  // active before is its opener: when this one hides, the opener, if still
  // shown, becomes the active window again and takes the keys.
  void showForm();
  QMdiSubWindow* subWindow() const { return subWindow_; }
  // Deletes the window together with the sub-window that holds it.
  void deleteWithSubWindow();
  // A window with keys of its own keeps them while it is the active child:
  // the main window's keys then wait. By default, the keys of the key tables
  // whose buttons lie in the window; a window that takes keys otherwise says
  // so here.
  virtual bool hasKeysOfItsOwn() const;

 signals:
  // After each run of the load handler.
  void loaded();

 protected:
  ChildForm();
  virtual void onLoad() {}
  virtual void onUnload() {}
  // Runs when the window is about to become the active child window.
  virtual void onActivate() {}
  void setCloseBox(CloseBox closeBox);
  void closeEvent(QCloseEvent* event) override;
  // Hides the window (still loaded) and hands the activation back to its
  // opener.
  void hideSubWindow();
  // Outer size and place inside the MDI area, in twips.
  void setGeometryTwips(int left, int top, int width, int height);
  // Outer size in twips, centred in the main window's inner area.
  void centreInMainWindowTwips(int width, int height);
  // The same for a window whose design gives the size of its client area:
  // the sub-window's frame and title bar come on top.
  void centreClientInMainWindowTwips(int width, int height);
  // The client area's size, leaving the place to the MDI area (a window of
  // which several are open is not put on top of the others).
  void resizeClientTwips(int width, int height);

 private:
  void applyCloseBox();
  // The sub-window's frame and title bar around the client area.
  QSize frameTwips() const;

  QPointer<QMdiSubWindow> subWindow_;
  QPointer<QMdiSubWindow> opener_;
  bool loaded_ = false;
  CloseBox closeBox_ = CloseBox::Unloads;
};

// A child window of which several are open at once (display and detail
// windows), held by shared pointers: when the last holder lets go, the
// window is deleted with its sub-window, later, so that a window may let go
// of itself. A window already gone with the main window is left alone.
void deleteChildFormLater(ChildForm* window);
template <class T>
std::shared_ptr<T> holdChildForm(T* window) {
  return std::shared_ptr<T>(window, [alive = QPointer<T>(window)](T*) { deleteChildFormLater(alive.data()); });
}

class DialogForm : public QDialog, public Form {
  Q_OBJECT
 public:
  bool isLoaded() const override { return loaded_; }
  void load();
  void unload() override;
  // Loads when needed and runs the window modal; it is unloaded when it
  // closes. Answers the QDialog result.
  int showModal();
  void showModeless();
  void cancel() override;

 protected:
  // Owned by the main window.
  DialogForm();
  virtual void onLoad() {}
  virtual void onUnload() {}
  // Runs each time the window becomes the active window.
  virtual void onActivate() {}
  bool event(QEvent* event) override;
  void setCloseBox(CloseBox closeBox);
  void done(int result) override;
  // Esc and the window system's close come here.
  void reject() override;
  // Outer size and place on the screen, in twips.
  void setGeometryTwips(int left, int top, int width, int height);
  // Outer size in twips, centred in the main window's inner area.
  void centreInMainWindowTwips(int width, int height);

 private:
  bool loaded_ = false;
  CloseBox closeBox_ = CloseBox::Unloads;
};
