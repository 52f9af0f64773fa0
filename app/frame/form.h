// How the program's windows live.
//
// Each window class has one program-wide instance, created on first use by
// its static instance(). Loading and unloading are explicit and apart from
// construction: load() runs the window's load handler (onLoad) and unload()
// its unload handler (onUnload) and hides it; the object and its public
// members stay, so other windows can still read them after it closed.
//
// ChildForm is a child window inside the main window's MDI area; DialogForm
// is a window owned by the main window, shown modal (showModal) or modeless
// (showModeless). Closing a window by its close box or Esc unloads it.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

class QMdiSubWindow;

// The one instance of a window class, created on first use. Window classes
// keep their constructors private and befriend this.
template <class T>
T& programInstance() {
  static QPointer<T> instance;
  if (!instance) instance = new T();
  return *instance;
}

class ChildForm : public QWidget {
  Q_OBJECT
 public:
  bool isLoaded() const { return loaded_; }
  // Runs the load handler once until the next unload and puts the window
  // into the main window's MDI area (hidden until shown).
  void load();
  void unload();
  // Loads when needed, shows and activates the window.
  void showForm();
  QMdiSubWindow* subWindow() const { return subWindow_; }

 protected:
  ChildForm();
  virtual void onLoad() {}
  virtual void onUnload() {}
  // Runs when the window is about to become the active child window.
  virtual void onActivate() {}
  void closeEvent(QCloseEvent* event) override;
  // Outer size and place inside the MDI area, in twips.
  void setGeometryTwips(int left, int top, int width, int height);
  // Outer size in twips, centred in the main window's inner area.
  void centreInMainWindowTwips(int width, int height);

 private:
  QMdiSubWindow* subWindow_ = nullptr;
  bool loaded_ = false;
};

class DialogForm : public QDialog {
  Q_OBJECT
 public:
  bool isLoaded() const { return loaded_; }
  void load();
  void unload();
  // Loads when needed and runs the window modal; it is unloaded when it
  // closes. Answers the QDialog result.
  int showModal();
  void showModeless();

 protected:
  // Owned by the main window.
  DialogForm();
  virtual void onLoad() {}
  virtual void onUnload() {}
  void done(int result) override;
  // Outer size and place on the screen, in twips.
  void setGeometryTwips(int left, int top, int width, int height);

 private:
  bool loaded_ = false;
};
