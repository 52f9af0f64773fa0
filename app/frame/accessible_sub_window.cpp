#include "frame/accessible_sub_window.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QMdiSubWindow>

namespace {

// Qt's own sub-window interface in all but the off-screen rule: the same
// role, the title as the name, the one child (the window it holds).
class SubWindowAccessible : public QAccessibleWidget {
 public:
  explicit SubWindowAccessible(QMdiSubWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
    QString title = subWindow()->windowTitle();
    return title.remove(QStringLiteral("[*]"));
  }

  QAccessible::State state() const override {
    const QMdiSubWindow* window = subWindow();
    QAccessible::State state;
    state.focusable = !window->isMaximized();
    state.focused = window->isAncestorOf(QApplication::focusWidget());
    state.invisible = !window->isVisible();
    state.disabled = !window->isEnabled();
    if (const QWidget* view = window->parentWidget()) {
      state.offscreen = !view->rect().intersects(window->geometry());
    }
    return state;
  }

  QRect rect() const override {
    const QMdiSubWindow* window = subWindow();
    if (window->isHidden()) return {};
    return {window->mapToGlobal(QPoint(0, 0)), window->size()};
  }

  int childCount() const override { return subWindow()->widget() ? 1 : 0; }

  QAccessibleInterface* child(int index) const override {
    QWidget* held = subWindow()->widget();
    if (index != 0 || !held) return nullptr;
    return QAccessible::queryAccessibleInterface(held);
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child || !child->object() || child->object() != subWindow()->widget()) return -1;
    return 0;
  }

 private:
  QMdiSubWindow* subWindow() const { return static_cast<QMdiSubWindow*>(widget()); }
};

QAccessibleInterface* subWindowInterface(const QString& className, QObject* object) {
  if (className != QLatin1String("QMdiSubWindow") || !object || !object->isWidgetType()) return nullptr;
  return new SubWindowAccessible(static_cast<QMdiSubWindow*>(object));
}

}  // namespace

void installSubWindowAccessibility() {
  // The factory installed last is asked first, before Qt's own.
  static const bool installed = (QAccessible::installFactory(subWindowInterface), true);
  (void)installed;
}
