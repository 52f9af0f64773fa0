// Printing a window's picture: its page fit, the printers that are none, and
// the two failures a window turns into its message.
#include "frame/print_service.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

std::unique_ptr<QPrinter> pdfPrinter(const QString& path) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  return printer;
}

// A window whose picture is not blank.
class PaintedWindow : public QWidget {
 public:
  PaintedWindow() { resize(320, 200); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    for (int x = 0; x < width(); x += 8) painter.fillRect(x, 0, 4, height(), QColor::fromRgb(x % 256, 40, 200));
  }
};

// Installs a printer source for the life of the object.
class InstalledSource {
 public:
  explicit InstalledSource(PrinterSource source) { installPrinterSource(std::move(source)); }
  ~InstalledSource() { installPrinterSource({}); }
};

}  // namespace

class PrintServiceTest : public QObject {
  Q_OBJECT

 private slots:
  void pictureKeepsItsShapeAndStaysOnThePage() {
    struct Case {
      const char* what;
      QSize picture;
      QRect page;
      QRect expected;
    };
    const Case cases[] = {
        {"wide picture on a tall page fills the width", {800, 400}, {0, 0, 1000, 2000}, {0, 0, 1000, 500}},
        {"tall picture on a wide page fills the height", {400, 800}, {0, 0, 2000, 1000}, {0, 0, 500, 1000}},
        {"small picture is enlarged", {100, 50}, {0, 0, 1000, 1000}, {0, 0, 1000, 500}},
        {"page corner is kept", {10, 10}, {30, 40, 100, 200}, {30, 40, 100, 100}},
        {"window without a picture draws nothing", {0, 0}, {0, 0, 100, 100}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) QVERIFY2(fittedRect(c.picture, c.page) == c.expected, c.what);
  }

  void emptyNameAndTheFaxDriverAreNoPrinter() {
    for (const char* name : {"", "Microsoft FAX", "microsoft Fax"}) QVERIFY2(!isPrinterName(name), name);
    for (const char* name : {"Microsoft FAX 2", "Office-Laser"}) QVERIFY2(isPrinterName(name), name);
  }

  void printGoesToThePrinterAndFailuresAreTold() {
    QTemporaryDir dir;
    PaintedWindow window;
    struct Case {
      const char* what;
      QString file;  // "" no printer at all
      PrintOutcome expected;
    };
    const Case cases[] = {
        {"a printer takes the picture", dir.filePath(QStringLiteral("print.pdf")), PrintOutcome::Printed},
        {"no printer", QString(), PrintOutcome::NoPrinter},
        {"the printer cannot start the job", dir.filePath(QStringLiteral("missing/print.pdf")),
         PrintOutcome::PrinterFailed},
    };
    for (const Case& c : cases) {
      InstalledSource source([&c]() -> std::unique_ptr<QPrinter> {
        return c.file.isEmpty() ? nullptr : pdfPrinter(c.file);
      });
      QVERIFY2(printWindowImage(window) == c.expected, c.what);
    }
    QFile printed(dir.filePath(QStringLiteral("print.pdf")));
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QVERIFY(printed.read(5) == "%PDF-");
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing/print.pdf"))));

    // The page holds the picture, not just a blank sheet.
    const QString blankPath = dir.filePath(QStringLiteral("blank.pdf"));
    {
      std::unique_ptr<QPrinter> blank = pdfPrinter(blankPath);
      QPainter painter(blank.get());
    }
    QVERIFY2(printed.size() > QFile(blankPath).size() + 1000,
             qPrintable(QStringLiteral("%1 against %2 bytes").arg(printed.size()).arg(QFile(blankPath).size())));
  }
};

QTEST_MAIN(PrintServiceTest)
#include "print_service_test.moc"
