// pelomar-icons FOLDER: writes the program's icon files into FOLDER (made
// when missing).
#include "icon_pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>

#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: pelomar-icons FOLDER\n");
    return 2;
  }
  if (!QImageWriter::supportedImageFormats().contains("ico")) {
    std::fprintf(stderr, "pelomar-icons: this Qt cannot write ICO files (its ico image plugin is missing)\n");
    return 1;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "pelomar-icons: cannot make the folder %s\n", argv[1]);
    return 1;
  }
  for (const icons::IconFile& icon : icons::programIcons()) {
    QImageWriter writer(folder.filePath(icon.name), "ico");
    if (!writer.write(icon.picture)) {
      std::fprintf(stderr, "pelomar-icons: %s: %s\n", qPrintable(writer.fileName()), qPrintable(writer.errorString()));
      return 1;
    }
  }
  return 0;
}
