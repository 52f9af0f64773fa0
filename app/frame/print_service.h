// Printing a window as it is shown: its picture, scaled to fit the printer's
// page. Windows turn a failure into their own message; tests put a printer
// of their own (a PDF file) in place of the default one.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

enum class PrintOutcome {
  Printed,
  NoPrinter,      // none installed, or the one named is not a printer
  PrinterFailed,  // the printer refused the job (cannot start or finish it)
};

// Gives the printer a print goes to; null when there is none to use.
using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;

// Prints the window's picture on the printer of the installed source (by
// default the system's default printer).
PrintOutcome printWindowImage(QWidget& window);
// Prints the window's picture on `printer`.
PrintOutcome printWindowImage(QWidget& window, QPrinter& printer);

// Puts another printer source in place; an empty one goes back to the
// default printer.
void installPrinterSource(PrinterSource source);
// The system's default printer, or null when there is none or it is the
// fax driver.
std::unique_ptr<QPrinter> defaultPrinter();
// False for an empty name and for the fax driver "Microsoft FAX" (any case).
bool isPrinterName(const QString& name);

// The largest rectangle of the picture's shape that fits the page, at the
// page's top left; the picture is never stretched out of shape.
QRect fittedRect(QSize picture, QRect page);
