// Every window and dialog class, opened at its default size in the
// program's font: no label, button, frame or title text is cut (its
// font's advance fits the room the style gives it, a wrapped label's words
// across and lines down, a title its title bar's label; that judgement
// also against a caption's inked pixels), and every input control is named
// after its label.
#include "display/frmSearchAnalog.h"
#include "display/frmSearchErrorCode.h"
#include "frame/FrmMes.h"
#include "frame/control_names.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/dialogs/frmStopRecode.h"
#include "frame/fit_to_text.h"
#include "frame/frmDebugMessage.h"
#include "frame/frmDspParam.h"
#include "frame/frmMain.h"
#include "frame/texts/text_table.h"
#include "map/frmAirconNumShow.h"
#include "map/frmCertify.h"
#include "map/frmChangeMap.h"
#include "map/frmControl.h"
#include "map/frmDataChange.h"
#include "map/frmDataChangeConfirm.h"
#include "map/frmInterface.h"
#include "map/frmMap.h"
#include "map/frmMapsList.h"
#include "map/frmQ7dataSameFile.h"
#include "map/frmRefreshMap.h"
#include "map/frmStopQ7netAircon.h"
#include "map/frmUnknownKind.h"
#include "recording/frmFileSizeOver.h"
#include "recording/frmRecode.h"
#include "recording/frmRecodeSensorInput.h"
#include "recording/frmRecodeTrigger.h"
#include "records/frmCsvOutput.h"
#include "records/frmCsvSetting.h"
#include "records/frmCustom.h"
#include "records/frmCustomsList.h"
#include "records/frmDataTransfer.h"
#include "records/frmInforInput.h"
#include "records/frmInforList.h"
#include "records/frmSameCustomInfor.h"
#include "records/frmSameData.h"
#include "records/frmSs.h"
#include "records/frmTriggerConditionShow.h"
#include "support/program_fixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

struct WindowClass {
  const char* name;
  std::function<QWidget*()> open;
};

template <class T>
QWidget* child() {
  T& window = T::instance();
  window.showForm();
  return &window;
}

template <class T>
QWidget* dialog() {
  T& window = T::instance();
  window.load();
  window.show();
  return &window;
}

QWidget* message() {
  frmMessage& box = frmMessage::instance();
  box.setLabelString(QStringLiteral("6-3"), QStringLiteral("A line of the message."), QString(), QString());
  return dialog<frmMessage>();
}

// A search window titled after the item it searches.
template <class T>
QWidget* search() {
  T::instance().dataItemName = QStringLiteral("5 O-1-Error");
  return dialog<T>();
}

// The columns `text` inks when drawn in `font`, counted in an image: a
// figure of its own, not taken from the font's metrics.
int inkedWidth(const QString& text, const QFont& font) {
  const int size = font.pixelSize();
  QImage image(size * static_cast<int>(text.size() + 2), size * 3, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setFont(font);
  painter.drawText(size, size * 2, text);
  painter.end();
  int left = image.width();
  int right = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(line[x]) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  return right - left + 1;
}

QStringList cutTexts(QWidget& window) {
  QStringList cut;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (control->isVisibleTo(&window) && !textShortfall(*control).isNull()) cut << control->property("text").toString();
  }
  // The title bar: the sub-window's for a child window, else the dialog's.
  auto* sub = qobject_cast<QMdiSubWindow*>(window.parentWidget());
  QWidget& framed = sub ? static_cast<QWidget&>(*sub) : window;
  if (titleWidthNeeded(framed) > framed.width()) cut << QStringLiteral("title: ") + window.windowTitle();
  return cut;
}

const WindowClass kWindowClasses[] = {
    {"frmMain", child<frmMain>},
    {"frmDspParam", child<frmDspParam>},
    {"frmDebugMessage", child<frmDebugMessage>},
    {"FrmMes", dialog<FrmMes>},
    {"frmMessage", message},
    {"frmStopRecode", dialog<frmStopRecode>},
    {"frmInterface", child<frmInterface>},
    {"frmMap", child<frmMap>},
    {"frmMapsList", child<frmMapsList>},
    {"frmControl", child<frmControl>},
    {"frmAirconNumShow", child<frmAirconNumShow>},
    {"frmDataChange", child<frmDataChange>},
    {"frmCertify", dialog<frmCertify>},
    {"frmChangeMap", dialog<frmChangeMap>},
    {"frmRefreshMap", dialog<frmRefreshMap>},
    {"frmStopQ7netAircon", dialog<frmStopQ7netAircon>},
    {"frmQ7dataSameFile", dialog<frmQ7dataSameFile>},
    {"frmDataChangeConfirm", dialog<frmDataChangeConfirm>},
    {"frmUnknownKind", dialog<frmUnknownKind>},
    {"frmRecode", child<frmRecode>},
    {"frmRecodeTrigger", child<frmRecodeTrigger>},
    {"frmRecodeSensorInput", dialog<frmRecodeSensorInput>},
    {"frmFileSizeOver", dialog<frmFileSizeOver>},
    {"frmSearchAnalog", search<frmSearchAnalog>},
    {"frmSearchErrorCode", search<frmSearchErrorCode>},
    {"frmCustomsList", child<frmCustomsList>},
    {"frmCustom", child<frmCustom>},
    {"frmSs", child<frmSs>},
    {"frmDataTransfer", child<frmDataTransfer>},
    {"frmInforList", child<frmInforList>},
    {"frmInforInput", child<frmInforInput>},
    {"frmTriggerConditionShow", child<frmTriggerConditionShow>},
    {"frmCsvSetting", dialog<frmCsvSetting>},
    {"frmCsvOutput", dialog<frmCsvOutput>},
    {"frmSameCustomInfor", dialog<frmSameCustomInfor>},
    {"frmSameData", dialog<frmSameData>},
};

}  // namespace

class WindowTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWindowShowsItsTextsWholeAtItsDefaultSize() {
    const std::unique_ptr<ProgramFixture> world = startedProgram();
    QStringList faults;
    for (const WindowClass& windowClass : kWindowClasses) {
      QWidget* window = windowClass.open();
      const QStringList cut = cutTexts(*window);
      if (!cut.isEmpty()) faults << QLatin1String(windowClass.name) + QStringLiteral(": ") + cut.join(QStringLiteral(" | "));
      saveScreenshot(*window, QLatin1String(windowClass.name));
      dynamic_cast<Form&>(*window).unload();
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
  }

  // The judgement against figures of its own: a caption in a large upright
  // font, its inked columns counted in an image. A label with less room
  // than the ink is cut by at least what it lacks (less the two columns
  // antialiasing may add) and by no more than that and the side bearings
  // of its first and last glyphs; a window fitted around a label half as
  // wide as the ink gives it the room.
  void aCaptionIsCutByWhatItsInkLacks() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(48);
    QVERIFY2(QFontInfo(font).family() == font.family(), "the test fonts (fonts-dejavu-core) are not installed");
    const QString caption = QStringLiteral("Set. completed (F1)");
    const int ink = inkedWidth(caption, font);
    const int bearings = font.pixelSize() / 4;
    QWidget window;
    auto* label = new QLabel(caption, &window);
    label->setFont(font);
    for (const int room : {ink / 2, ink - 3, ink + bearings}) {
      label->setGeometry(0, 0, room, font.pixelSize() * 2);
      const int lacking = textShortfall(*label).width();
      QVERIFY2(lacking >= std::max(ink - 2 - room, 0) && lacking <= std::max(ink + bearings - room, 0),
               qPrintable(QStringLiteral("room %1, ink %2, lacking %3").arg(room).arg(ink).arg(lacking)));
    }
    label->setGeometry(10, 10, ink / 2, font.pixelSize() * 2);
    window.resize(ink, font.pixelSize() * 3);
    fitControlsToTexts(window, 0);
    QVERIFY2(label->width() >= ink && textShortfall(*label).isNull(), qPrintable(QString::number(label->width())));
  }

  // Screen readers find each input control by the label beside it, and
  // each drawing area by what it shows.
  void everyInputControlIsNamedAfterItsLabel() {
    const std::unique_ptr<ProgramFixture> world = startedProgram();
    QStringList unnamed;
    for (const WindowClass& windowClass : kWindowClasses) {
      QWidget* window = windowClass.open();
      for (QWidget* control : window->findChildren<QWidget*>()) {
        const bool input = qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                           qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<QAbstractItemView*>(control) ||
                           isDrawingArea(*control);
        if (!input || !control->isVisibleTo(window) || qobject_cast<QComboBox*>(control->parentWidget()) ||
            qobject_cast<QHeaderView*>(control)) {
          continue;
        }
        if (control->accessibleName().isEmpty()) unnamed << QLatin1String(windowClass.name) + ':' + control->metaObject()->className();
      }
      dynamic_cast<Form&>(*window).unload();
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
  }

  // A sub-window is reported as it is drawn: showing while any part of it
  // lies in the area's view (a window larger than the area among them),
  // off screen only when none does, invisible when hidden.
  void subWindowsReportTheStateTheyAreDrawnIn() {
    const std::unique_ptr<ProgramFixture> world = startedProgram();
    QMdiSubWindow* sub = frmMain::instance().subWindow();
    frmMain::instance().showForm();
    QVERIFY(sub);
    const QSize view = sub->parentWidget()->size();
    const struct {
      const char* place;
      QRect geometry;
      bool shown;
      bool offscreen;
    } rows[] = {
        {"inside the view", QRect(QPoint(0, 0), view / 2), true, false},
        {"larger than the view", QRect(QPoint(0, 0), view + QSize(100, 100)), true, false},
        {"partly past the right edge", QRect(QPoint(view.width() - 50, 0), view / 2), true, false},
        {"wholly past the right edge", QRect(QPoint(view.width() + 10, 0), view / 2), true, true},
        {"hidden", QRect(QPoint(0, 0), view / 2), false, false},
    };
    for (const auto& row : rows) {
      sub->setVisible(row.shown);
      sub->setGeometry(row.geometry);
      const QAccessibleInterface* reported = QAccessible::queryAccessibleInterface(sub);
      QVERIFY(reported);
      QCOMPARE(reported->text(QAccessible::Name), frmMain::instance().windowTitle());
      QVERIFY2(reported->state().invisible == !row.shown, row.place);
      QVERIFY2(reported->state().offscreen == row.offscreen, row.place);
    }
    sub->show();
  }
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
