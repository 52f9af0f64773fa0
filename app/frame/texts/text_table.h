// The table of 511 texts every caption and message comes from: built-in
// English, overridden entry by entry from Lang.ini.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QString>

#include <array>

constexpr int kTextCount = 511;  // entries 0..510
constexpr int kCaptionCount = 409;  // captionTexts 1..408 (0 unused)
constexpr int kMessageCount = 72;   // messageTexts[k] = entry 410 + k

std::array<QString, kTextCount>& labelTexts();
// Copies taken once after loading; the windows read these.
std::array<QString, kCaptionCount>& captionTexts();
std::array<QString, kMessageCount>& messageTexts();
// Entry 0, the language tag, as it stood when loading ended.
QString& textTableTag();
// The one shared font of the program.
QFont& appFont();

// appFont size 9 and the built-in English texts (entry 0 = "").
void setEnglishTexts();
// setEnglishTexts, then Lang.ini from the current folder, then the tag. A
// faulty Lang.ini shows "Lang.ini file error : " and the field at fault.
void loadTextTable();
// The entry when it is not "", else the default ("" for an index outside).
QString getTextOrDefault(const QString& defaultText, int index);
void copyTextsToLabelGlobals();

// An entry of the table, "" for an index outside 0..510.
QString tableText(int index);
// Windows replace their design captions with table texts only when the
// table carries a language tag.
inline bool captionsFromTable() { return !textTableTag().isEmpty(); }

// Says once for each loaded table, in one warning line of the debug output,
// which caption entries a tagged table leaves empty (the first ten and the
// count), so that menus without captions can be traced to Lang.ini.
void reportEmptyCaptions(const QList<int>& entries);

// Texts of the program's own that no design caption holds, kept at entries
// the table leaves free so that a Lang.ini can translate them; while an
// entry is empty its English text stands.
enum OwnText : int {
  kTextFileDamaged = 506,       // after a file name
  kTextLine = 507,              // before a line number
  kTextSettingsNotSaved = 508,  // before the settings store's file
  kTextFolderNotSaved = 509,    // before the program folder
  kTextFailedFile = 510,        // before the file the library failed on
};
QString ownText(OwnText entry);

// What reading Lang.ini did.
struct LangIniOutcome {
  bool opened = false;  // false: no file, the English texts stay
  bool failed = false;  // a bad index or a missing text; entries before it stay
  QString badField;     // the index field as read
};
// Applies the pairs of a Lang.ini to labelTexts.
LangIniOutcome applyLangIni(const QByteArray& content);
LangIniOutcome readLangIniFile(const QString& path);
