// The icon files the build lays into the program folder: every name the map
// and the centralized-operation window load, spelt exactly (file names are
// case-sensitive here), readable as ICO, and a state told apart from every
// other by its picture.
#include <QDir>
#include <QImageReader>
#include <QtTest>

namespace {

const QString kIconFolder = QStringLiteral(PELOMAR_BIN_DIR "/icons");

QImage readIcon(const QString& name) {
  QImageReader reader(QDir(kIconFolder).filePath(name), "ico");
  return reader.read();
}

QStringList names(const QStringList& prefixes, const QStringList& states, const QString& suffix) {
  QStringList found;
  for (const QString& prefix : prefixes) {
    for (const QString& state : states) found << prefix + state + suffix;
  }
  return found;
}

const QStringList kMapStates{"white", "green", "gray", "red", "magenta"};

}  // namespace

class ProgramIconsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyIconTheWindowsLoadIsThereAndReads_data() {
    QTest::addColumn<QString>("name");
    QStringList all = names({"OU_", "IU_", "CU_"}, kMapStates, ".ico");
    all << QStringLiteral("Sensor.ico");
    all << names({"KX_Gray", "KX_Green", "KX_Red", "KX_Magenta"}, {"_Water", "_White"}, ".ico");
    for (const QString& name : all) QTest::newRow(qPrintable(name)) << name;
  }
  void everyIconTheWindowsLoadIsThereAndReads() {
    QFETCH(QString, name);
    // Found by its exact spelling, not by one that differs in case only.
    QVERIFY2(QDir(kIconFolder).entryList(QDir::Files).contains(name), qPrintable(name));
    const QImage picture = readIcon(name);
    QVERIFY2(!picture.isNull(), qPrintable(name));
    QVERIFY(picture.width() >= 16 && picture.width() == picture.height());
  }

  void eachStateHasAPictureOfItsOwn() {
    const QList<QStringList> families{
        names({"OU_"}, kMapStates, ".ico"),
        names({"IU_"}, kMapStates, ".ico"),
        names({"CU_"}, kMapStates, ".ico"),
        names({"KX_Gray", "KX_Green", "KX_Red", "KX_Magenta"}, {"_Water"}, ".ico"),
        names({"KX_Gray", "KX_Green", "KX_Red", "KX_Magenta"}, {"_White"}, ".ico"),
        // the selected address against the others of the same state
        names({"KX_Green"}, {"_Water", "_White"}, ".ico"),
        // a unit kind against the others in the same state
        names({"OU_", "IU_", "CU_"}, {"green"}, ".ico"),
    };
    for (const QStringList& family : families) {
      for (qsizetype i = 0; i < family.size(); ++i) {
        for (qsizetype j = i + 1; j < family.size(); ++j) {
          QVERIFY2(readIcon(family[i]) != readIcon(family[j]), qPrintable(family[i] + " = " + family[j]));
        }
      }
    }
  }
};

QTEST_MAIN(ProgramIconsTest)
#include "program_icons_test.moc"
