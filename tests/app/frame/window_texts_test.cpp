// Every window and dialog class, opened at its default size in the
// program's font: no label, button, frame or title text is cut. A text
// fits when its font's advance fits the room the style gives it (or, for a
// wrapped label, every word fits across and all lines down), and a title
// when its title bar's label holds it.
#include "display/frmSearchAnalog.h"
#include "display/frmSearchErrorCode.h"
#include "frame/FrmMes.h"
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

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QtTest>

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

int widest(const QFontMetrics& metrics, const QStringList& lines) {
  int most = 0;
  for (const QString& line : lines) most = std::max(most, metrics.horizontalAdvance(line));
  return most;
}

// "" when the control's text is shown whole, else what is cut.
QString cutLabel(const QLabel& label) {
  const QString text = label.text();
  if (text.isEmpty() || Qt::mightBeRichText(text)) return {};
  const QRect room = label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(), -label.margin());
  const QFontMetrics metrics = label.fontMetrics();
  if (label.wordWrap()) {
    const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const QRect lines = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap, text);
    if (widest(metrics, words) <= room.width() && lines.height() <= room.height()) return {};
  } else {
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (widest(metrics, lines) <= room.width() && metrics.height() * lines.size() <= room.height()) return {};
  }
  return text;
}

QString cutButton(const QAbstractButton& button) {
  const QString text = shownCaption(button.text());
  if (text.isEmpty()) return {};
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  const QStyle::SubElement contents = qobject_cast<const QPushButton*>(&button) ? QStyle::SE_PushButtonContents
                                      : qobject_cast<const QRadioButton*>(&button) ? QStyle::SE_RadioButtonContents
                                                                                   : QStyle::SE_CheckBoxContents;
  const QRect room = button.style()->subElementRect(contents, &option, &button);
  const QFontMetrics metrics = button.fontMetrics();
  if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= button.height()) return {};
  return text;
}

QStringList cutTexts(QWidget& window) {
  QStringList cut;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!control->isVisibleTo(&window)) continue;
    QString text;
    if (auto* label = qobject_cast<QLabel*>(control)) text = cutLabel(*label);
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button && (qobject_cast<QPushButton*>(button) || qobject_cast<QRadioButton*>(button))) text = cutButton(*button);
    if (auto* frame = qobject_cast<QGroupBox*>(control); frame && !frame->title().isEmpty()) {
      if (frame->fontMetrics().horizontalAdvance(frame->title()) > frame->width()) text = frame->title();
    }
    if (!text.isEmpty()) cut << text;
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
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
