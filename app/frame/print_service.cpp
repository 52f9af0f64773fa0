#include "frame/print_service.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace {

PrinterSource& installedSource() {
  static PrinterSource source;
  return source;
}

}  // namespace

bool isPrinterName(const QString& name) {
  return !name.isEmpty() && name.compare(QStringLiteral("Microsoft FAX"), Qt::CaseInsensitive) != 0;
}

std::unique_ptr<QPrinter> defaultPrinter() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull() || !isPrinterName(info.printerName())) return nullptr;
  return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void installPrinterSource(PrinterSource source) { installedSource() = std::move(source); }

QRect fittedRect(QSize picture, QRect page) {
  if (picture.isEmpty() || page.isEmpty()) return QRect(page.topLeft(), QSize(0, 0));
  return QRect(page.topLeft(), picture.scaled(page.size(), Qt::KeepAspectRatio));
}

PrintOutcome printWindowImage(QWidget& window, QPrinter& printer) {
  const QPixmap picture = window.grab();
  QPainter painter;
  if (!painter.begin(&printer)) return PrintOutcome::PrinterFailed;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  // The painter's origin is the paint area's corner.
  const QRect target = fittedRect(picture.size(), QRect(QPoint(0, 0), page.size()));
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(target, picture);
  return painter.end() ? PrintOutcome::Printed : PrintOutcome::PrinterFailed;
}

PrintOutcome printWindowImage(QWidget& window) {
  const PrinterSource& source = installedSource();
  std::unique_ptr<QPrinter> printer = source ? source() : defaultPrinter();
  if (!printer) return PrintOutcome::NoPrinter;
  return printWindowImage(window, *printer);
}
