#include "frame/library/tramsoll_client.h"

#include "tramsoll.h"

#include <array>
#include <vector>

namespace {

// A caller's out buffer of one of the library's capacities, with its length.
template <int Capacity>
struct OutText {
  std::array<char, Capacity> bytes{};
  int32_t length = 0;
  QString text() const { return textFromLibrary(bytes.data(), length, Capacity); }
};

// A text for one of the library's fields of `Capacity` bytes.
template <int Capacity>
QByteArray fieldText(const QString& text) {
  return textForLibrary(text, Capacity - 1);
}

// The same, one blank for an empty text.
template <int Capacity>
QByteArray blankedFieldText(const QString& text) {
  return text.isEmpty() ? QByteArrayLiteral(" ") : fieldText<Capacity>(text);
}

}  // namespace

FileVersions TramsollClient::fileVersions() {
  OutText<TRAMSOLL_VERSION_TEXT_SIZE> version, date, libraryVersion, libraryDate;
  FileVersions out;
  out.result = api_.getSetFileVer(version.bytes.data(), &version.length, date.bytes.data(), &date.length,
                                  libraryVersion.bytes.data(), &libraryVersion.length, libraryDate.bytes.data(),
                                  &libraryDate.length);
  out.setFileVersion = version.text();
  out.setFileDate = date.text();
  out.libraryVersion = libraryVersion.text();
  out.libraryDate = libraryDate.text();
  return out;
}

ControlChangeMode TramsollClient::controlDataChangeMode() {
  OutText<TRAMSOLL_PASSWORD_SIZE> password;
  ControlChangeMode out;
  out.result = api_.getControlDataChangeMode(&out.mode, password.bytes.data(), &password.length);
  out.password = password.text();
  return out;
}

std::optional<QString> TramsollClient::nextDebugMessage() {
  OutText<TRAMSOLL_DEBUG_MESSAGE_SIZE> line;
  if (api_.getDebugMessage(line.bytes.data(), &line.length) == 0) return std::nullopt;
  return line.text();
}

LibraryText TramsollClient::ramModelName(int32_t rowKind, int32_t rowIndex) {
  OutText<TRAMSOLL_MODEL_NAME_SIZE> name;
  const int32_t result = api_.getRAMKishuName(rowKind, rowIndex, name.bytes.data(), &name.length);
  return {result, name.text()};
}

ModelCandidates TramsollClient::modelCandidates(const QString& modelKey) {
  OutText<TRAMSOLL_CANDIDATE_NAMES_SIZE> names;
  int32_t count = 0;
  ModelCandidates out;
  out.result = api_.getKishuKouho(textForLibrary(modelKey).constData(), names.bytes.data(), &names.length, &count);
  // The library ends every name with a comma: a text after the last comma
  // is no name.
  QStringList parts = names.text().split(QLatin1Char(','));
  parts.removeLast();
  parts.removeAll(QString());
  out.names = parts;
  return out;
}

LibraryText TramsollClient::unitModelName(int32_t unitClass, int32_t busAddress, int32_t rowIndex) {
  OutText<TRAMSOLL_MODEL_NAME_SIZE> name;
  const int32_t result = api_.getQ7AuAdrInfo(unitClass, busAddress, rowIndex, name.bytes.data(), &name.length);
  return {result, name.text()};
}

CentralStatus TramsollClient::centralStatus(int32_t busAddress) {
  std::array<char, TRAMSOLL_ERROR_CODE_SIZE> code{};
  CentralStatus out;
  out.result = api_.getQ7ScAdrStatus(busAddress, &out.mode, &out.setPoint, code.data(), &out.pendingFlag,
                                     &out.runFlag);
  // The code has no length of its own: it runs to its terminator.
  out.errorCode = textFromLibrary(code.data(), TRAMSOLL_ERROR_CODE_SIZE, TRAMSOLL_ERROR_CODE_SIZE);
  return out;
}

RecordedFileInfo TramsollClient::fileInfo(const QString& customerFolder, int32_t fileIndex) {
  OutText<TRAMSOLL_PERSON_SIZE> person;
  OutText<TRAMSOLL_MAP_NAME_SIZE> mapName;
  OutText<TRAMSOLL_MODEL_TEXT_SIZE> model;
  OutText<TRAMSOLL_FILE_NAME_SIZE> fileName;
  RecordedFileInfo o;
  o.result = api_.getFileInfo(textForLibrary(customerFolder).constData(), fileIndex, person.bytes.data(),
                              &person.length, mapName.bytes.data(), &mapName.length, &o.systemNumber,
                              model.bytes.data(), &model.length, &o.recordingMode, &o.interfaceMode,
                              &o.outdoorCount, &o.indoorCount, &o.centralCount, &o.startYear, &o.startMonth,
                              &o.startDay, &o.startSecondOfDay, &o.recordCount, &o.triggerRecord,
                              &o.intervalSeconds, &o.fileSize, fileName.bytes.data(), &fileName.length);
  o.personInCharge = person.text();
  o.mapName = mapName.text();
  o.modelText = model.text();
  o.fileName = fileName.text();
  return o;
}

DataItemInfo TramsollClient::dataItem(const ItemSource& source, int32_t itemNumber) {
  OutText<TRAMSOLL_ITEM_NAME_SIZE> name;
  OutText<TRAMSOLL_FULL_SCALE_TEXT_SIZE> fullScale;
  OutText<TRAMSOLL_STATE_TEXT_SIZE> state0, state1;
  DataItemInfo o;
  o.result = api_.getDataItem(source.dataSource, textForLibrary(source.customerFolder).constData(),
                              source.filePosition, source.systemNumber, source.unitKind, source.unitNumber,
                              itemNumber, name.bytes.data(), &name.length, fullScale.bytes.data(), &fullScale.length,
                              &o.dataType, &o.defaultGraphFlag, state0.bytes.data(), &state0.length,
                              state1.bytes.data(), &state1.length, &o.triggerCode1, &o.triggerCode2);
  o.itemName = name.text();
  o.fullScaleText = fullScale.text();
  o.stateText0 = state0.text();
  o.stateText1 = state1.text();
  return o;
}

TriggerItemInfo TramsollClient::triggerItem(const QString& customerFolder, int32_t filePosition, int32_t unitKind,
                                            int32_t unitNumber, int32_t conditionNumber) {
  OutText<TRAMSOLL_ITEM_NAME_SIZE> name;
  OutText<TRAMSOLL_CONDITION_TEXT_SIZE> condition1, condition2;
  TriggerItemInfo o;
  o.result = api_.getPlyTrgItem(textForLibrary(customerFolder).constData(), filePosition, unitKind, unitNumber,
                                conditionNumber, name.bytes.data(), &name.length, &o.dataType,
                                condition1.bytes.data(), &condition1.length, condition2.bytes.data(),
                                &condition2.length);
  o.itemName = name.text();
  o.conditionText1 = condition1.text();
  o.conditionText2 = condition2.text();
  return o;
}

CursorTexts TramsollClient::cursorData(const ItemSource& source, int32_t itemNumber, int32_t recordNumber) {
  OutText<TRAMSOLL_VALUE_TEXT_SIZE> value;
  // The time has no length of its own: "HH:MM:SS" and its terminator; no
  // more than those eight characters are read.
  constexpr int32_t kClockTextLength = 8;
  std::array<char, TRAMSOLL_TIME_TEXT_SIZE> clock{};
  CursorTexts o;
  o.result = api_.getCursData(source.dataSource, textForLibrary(source.customerFolder).constData(),
                              source.filePosition, source.systemNumber, source.unitKind, source.unitNumber,
                              itemNumber, recordNumber, value.bytes.data(), &value.length, clock.data(), &o.year,
                              &o.month, &o.day, &o.secondOfDay);
  o.valueText = value.text();
  o.timeText = textFromLibrary(clock.data(), kClockTextLength, TRAMSOLL_TIME_TEXT_SIZE);
  return o;
}

GraphTexts TramsollClient::graphTexts(const ItemSource& source, int32_t itemNumber, int32_t firstRecord,
                                      int32_t recordCount) {
  GraphTexts o;
  if (recordCount < 0 || recordCount > TRAMSOLL_GRAPH_RECORD_COUNT) {
    o.result = kRefused;
    return o;
  }
  constexpr int kSlot = TRAMSOLL_GRAPH_TEXT_SLOT_SIZE;
  std::vector<char> valueSlots(static_cast<std::size_t>(TRAMSOLL_GRAPH_RECORD_COUNT) * kSlot, '\0');
  o.result = api_.getGraphData2(source.dataSource, textForLibrary(source.customerFolder).constData(),
                                source.filePosition, source.systemNumber, source.unitKind, source.unitNumber,
                                itemNumber, firstRecord, recordCount, valueSlots.data());
  // A slot shows its first nine bytes: the tenth is room for the terminator.
  for (int32_t k = 0; k < recordCount; ++k) {
    o.valueTexts << textFromLibrary(valueSlots.data() + static_cast<std::size_t>(k) * kSlot, kSlot - 1, kSlot - 1);
  }
  return o;
}

int32_t TramsollClient::setCsvFile(const QString& customerFolder, int32_t filePosition, const QString& basePath,
                                   const QStringList& headingTexts) {
  std::array<QByteArray, 31> words;
  for (std::size_t i = 0; i < words.size(); ++i) words[i] = textForLibrary(headingTexts.value(static_cast<int>(i)));
  const auto w = [&words](std::size_t i) { return words[i].constData(); };
  return api_.setCsvFile(textForLibrary(customerFolder).constData(), filePosition, textForLibrary(basePath).constData(),
                         w(0), w(1), w(2), w(3), w(4), w(5), w(6), w(7), w(8), w(9), w(10), w(11), w(12), w(13),
                         w(14), w(15), w(16), w(17), w(18), w(19), w(20), w(21), w(22), w(23), w(24), w(25), w(26),
                         w(27), w(28), w(29), w(30));
}

int32_t TramsollClient::netMapInfo(const NetMapUnit& unit) {
  const QByteArray model = blankedFieldText<TRAMSOLL_UNIT_TEXT_SIZE>(unit.model);
  const QByteArray serialNumber = blankedFieldText<TRAMSOLL_UNIT_TEXT_SIZE>(unit.serialNumber);
  const QByteArray place = blankedFieldText<TRAMSOLL_UNIT_TEXT_SIZE>(unit.place);
  return api_.setNetMapInfo(unit.unitKind, unit.busAddress, unit.subNumber, unit.unitNumber, unit.systemNumber,
                            unit.controlAddress, model.constData(), serialNumber.constData(), place.constData());
}

int32_t TramsollClient::dkishuName(int32_t unitKind, int32_t busAddress, int32_t subNumber, const QString& model) {
  const QByteArray text = blankedFieldText<TRAMSOLL_UNIT_TEXT_SIZE>(model);
  return api_.setDkishuName(unitKind, busAddress, subNumber, text.constData());
}

int32_t TramsollClient::fileHeader(const FileHeaderTexts& header) {
  const QByteArray folder = textForLibrary(header.customerFolder);
  if (folder.size() >= TRAMSOLL_FOLDER_SIZE) return kRefused;
  const QByteArray id = blankedFieldText<TRAMSOLL_CUSTOMER_ID_SIZE>(header.customerId);
  const QByteArray name = blankedFieldText<TRAMSOLL_CUSTOMER_NAME_SIZE>(header.customerName);
  const QByteArray person = blankedFieldText<TRAMSOLL_PERSON_SIZE>(header.personInCharge);
  const QByteArray mapName = fieldText<TRAMSOLL_MAP_NAME_SIZE>(header.mapName);
  return api_.setFileHeader(id.constData(), name.constData(), person.constData(), mapName.constData(),
                            folder.constData());
}
