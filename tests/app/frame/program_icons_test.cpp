// The icon files the build lays into the program folder: every name the map
// and the centralized-operation window load, spelt exactly (file names are
// case-sensitive here), readable as ICO, and no two states alike.
#include <QDir>
#include <QImageReader>
#include <QtTest>

namespace {

QStringList names(const QStringList& prefixes, const QStringList& states, const QString& suffix) {
  QStringList found;
  for (const QString& prefix : prefixes) {
    for (const QString& state : states) found << prefix + state + suffix;
  }
  return found;
}

}  // namespace

class ProgramIconsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyIconIsThereReadsAndShowsItsState() {
    const QDir folder(QStringLiteral(PELOMAR_BIN_DIR "/icons"));
    const QStringList kinds{"OU_", "IU_", "CU_"}, mapStates{"white", "green", "gray", "red", "magenta"};
    const QStringList addresses{"KX_Gray", "KX_Green", "KX_Red", "KX_Magenta"}, grounds{"_Water", "_White"};
    // Pictures that must differ: the states of one kind or ground, a kind
    // against another, the selected address against the others.
    QList<QStringList> apart{names({"OU_", "IU_", "CU_"}, {"green"}, ".ico"), names({"KX_Green"}, grounds, ".ico")};
    for (const QString& kind : kinds) apart << names({kind}, mapStates, ".ico");
    for (const QString& ground : grounds) apart << names(addresses, {ground}, ".ico");

    const QStringList all = names(kinds, mapStates, ".ico") + QStringList{"Sensor.ico"} +
                            names(addresses, grounds, ".ico");
    const QStringList present = folder.entryList(QDir::Files);
    QMap<QString, QImage> pictures;
    for (const QString& name : all) {
      QVERIFY2(present.contains(name), qPrintable(name));  // the exact spelling, not one of another case
      const QImage picture = QImageReader(folder.filePath(name), "ico").read();
      QVERIFY2(!picture.isNull() && picture.width() >= 16 && picture.width() == picture.height(), qPrintable(name));
      pictures[name] = picture;
    }
    for (const QStringList& family : apart) {
      for (qsizetype i = 0; i < family.size(); ++i) {
        for (qsizetype j = i + 1; j < family.size(); ++j) {
          QVERIFY2(pictures[family[i]] != pictures[family[j]], qPrintable(family[i] + " = " + family[j]));
        }
      }
    }
  }
};

QTEST_MAIN(ProgramIconsTest)
#include "program_icons_test.moc"
