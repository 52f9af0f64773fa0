// The help pages the build lays out in the program folder: every page the
// menus and message boxes open is there and its links lead somewhere, and
// the supported-models page lists the models the library loads.
#include "frame/help.h"
#include "frame/library/tramsoll_library.h"
#include "frame/site/paths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kProgramFolder = QStringLiteral(PELOMAR_BIN_DIR);

QString readPage(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class HelpPagesTest : public QObject {
  Q_OBJECT

  QString previousFolder_;

 private slots:
  void initTestCase() {
    previousFolder_ = programFolder();
    setProgramFolder(kProgramFolder);
  }
  void cleanupTestCase() { setProgramFolder(previousFolder_); }

  void everyPageTheProgramOpensIsShipped_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("context");
    QTest::newRow("Pelomar3 help") << int(kHelpDisplayTopic) << 0;
    QTest::newRow("Release Note") << int(kHelpContext) << 1001;
    QTest::newRow("Support Models") << int(kHelpContext) << 1002;
    QTest::newRow("message 5-3") << int(kHelpContext) << helpContextForMessage(QStringLiteral("5-3"));
    QTest::newRow("message 6-1") << int(kHelpContext) << helpContextForMessage(QStringLiteral("6-1"));
  }
  void everyPageTheProgramOpensIsShipped() {
    QFETCH(int, command);
    QFETCH(int, context);
    const QString path = helpPagePath(static_cast<HelpCommand>(command), context);
    const QString page = readPage(path);
    QVERIFY2(!page.isEmpty(), qPrintable(path));
    QVERIFY(QRegularExpression(QStringLiteral("<title>[^<]+</title>")).match(page).hasMatch());
    // Every link leads to a page that is there, and to its anchor.
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(?:#([^\"]+))?\""));
    for (auto found = link.globalMatch(page); found.hasNext();) {
      const QRegularExpressionMatch match = found.next();
      const QString target = match.captured(1).isEmpty() ? path : QFileInfo(path).dir().filePath(match.captured(1));
      const QString linked = readPage(target);
      QVERIFY2(!linked.isEmpty(), qPrintable(match.captured(0)));
      if (match.hasCaptured(2)) QVERIFY2(linked.contains(QStringLiteral("id=\"%1\"").arg(match.captured(2))),
                                         qPrintable(match.captured(0)));
    }
  }

  void supportedModelsPageListsTheLoadedModels() {
    const QString page = readPage(helpPagePath(kHelpContext, 1002));
    QVERIFY(!page.isEmpty());
    const auto listed = [&page](const QString& model) {
      return page.contains(QStringLiteral("<td>%1</td>").arg(model)) ||
             QRegularExpression(QStringLiteral("<td>([^<]*, )?%1(, [^<]*)?</td>").arg(QRegularExpression::escape(model)))
                 .match(page)
                 .hasMatch();
    };
    // Models on the bus, their other names and the logger.
    for (const char* model : {"TALMA-224", "TALMA-224B", "TALMA-280KA", "NORVE-560C", "VELUN-36Z", "VELUN-28C",
                              "CORDA-CX1", "SENTA-8"}) {
      QVERIFY2(listed(QString::fromLatin1(model)), model);
    }
    // Every one-system and one-unit model the library loads from the
    // program folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(kProgramFolder);
    TramsollLibrary library(kProgramFolder + QStringLiteral("/libtramsoll.so"), [](const QString& failure) {
      QFAIL(qPrintable(failure));
    });
    QCOMPARE(library.initTramsoll(), 0);
    int names = 0;
    for (int32_t rowKind : {0, 1}) {
      int32_t count = 0;
      library.getRAMKishuNum(rowKind, &count);
      for (int32_t row = 1; row <= count; ++row, ++names) {
        char name[64] = {};
        int32_t length = 0;
        QCOMPARE(library.getRAMKishuName(rowKind, row, name, &length), 0);
        QVERIFY2(listed(textFromLibrary(name, length, sizeof name)), name);
      }
    }
    QDir::setCurrent(previous);
    QVERIFY(names >= 9);
  }
};

QTEST_MAIN(HelpPagesTest)
#include "help_pages_test.moc"
