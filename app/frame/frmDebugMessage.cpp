#include "frame/frmDebugMessage.h"

#include "frame/library/tramsoll_client.h"
#include "frame/site/paths.h"
#include "frame/site/record_fields.h"

#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 5000;
constexpr int kLinesKept = 51;
// The library's ring holds 1024 lines; more in one go means it keeps
// answering without lines, and the window must not hang on it.
constexpr int kMostLinesPerStep = 1025;

}  // namespace

frmDebugMessage::frmDebugMessage() {
  setWindowTitle(QStringLiteral("Message For Debug"));
  lstDebugMessage = new QListWidget(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lstDebugMessage);
  tmrDebugMessage = new QTimer(this);
  tmrDebugMessage->setInterval(500);
  connect(tmrDebugMessage, &QTimer::timeout, this, [this] { tmrDebugMessage_Timer(); });
}

void frmDebugMessage::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  // Each load starts a new file, and the list with it.
  lstDebugMessage->clear();
  // Without the file the window still shows the lines.
  file_.setFileName(programFolderFile(QStringLiteral("DebugMessage.txt")));
  file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
  tmrDebugMessage->start();
}

void frmDebugMessage::onUnload() {
  tmrDebugMessage->stop();
  file_.close();
}

void frmDebugMessage::addLine(const QString& line) {
  if (lstDebugMessage->count() >= kLinesKept) delete lstDebugMessage->takeItem(0);
  lstDebugMessage->addItem(line);
  if (file_.isOpen()) file_.write(RecordWriter().text(line).endRecord().bytes());
}

void frmDebugMessage::tmrDebugMessage_Timer() {
  TramsollClient library;
  int taken = 0;
  while (taken < kMostLinesPerStep) {
    const std::optional<QString> line = library.nextDebugMessage();
    if (!line) break;
    addLine(*line);
    ++taken;
  }
  if (taken == 0) return;
  if (file_.isOpen()) file_.flush();
  lstDebugMessage->setCurrentRow(lstDebugMessage->count() - 1);
}
