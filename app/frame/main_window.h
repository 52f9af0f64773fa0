// The main window as the other windows and routines of the program reach it:
// the owner of every dialog, the MDI area that holds the child windows, the
// status line and the end timer. frmMdi hands its parts over when it is
// made, so nothing it includes needs to include it.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QSize>

#include <functional>

class QLabel;
class QMainWindow;
class QMdiArea;
class QTimer;

struct MainWindowParts {
  QPointer<QMainWindow> window;
  QPointer<QMdiArea> mdiArea;
  QPointer<QLabel> statusLine;
  QPointer<QTimer> endTimer;
};

// Called by the main window as it is made.
void handOverMainWindow(const MainWindowParts& parts);
// How the main window is made when something needs it before it exists (a
// message box shown before start-up has shown the main window).
void setMainWindowMaker(std::function<void()> maker);

// The parts of the main window, made on first use; parts of a main window
// that has been destroyed are null.
const MainWindowParts& mainWindowParts();
QMainWindow* mainWindow();
QMdiArea* mainMdiArea();

// The inner area that holds the child windows: its size, and its top left
// corner on the screen.
QSize mainInnerSize();
QPoint mainInnerOrigin();
void setMainStatusText(const QString& text);
