#include "records/contact_list.h"

#include <QComboBox>

#include <memory>

QStringList contactsWithChosenLast(const QStringList& names, const QString& chosen, Qt::CaseSensitivity sensitivity) {
  const QString name = chosen.trimmed();
  if (name.isEmpty()) return names;
  QStringList ordered = names;
  for (qsizetype i = 0; i < ordered.size(); ++i) {
    if (ordered[i].compare(name, sensitivity) != 0) continue;
    ordered.removeAt(i);
    break;
  }
  ordered << name;
  return ordered;
}

QStringList contactNames(const DataManageInfor& station) {
  QStringList names;
  for (const auto& name : station.ssChargeMen) names << *name;
  return names;
}

void setContactNames(DataManageInfor& station, const QStringList& names) {
  station.ssChargeMen.clear();
  int key = 1;
  for (const QString& name : names) station.ssChargeMen.add(std::make_shared<QString>(name), QString::number(key++));
}

void showContacts(QComboBox& box, const DataManageInfor& station) {
  const QStringList names = contactNames(station);
  box.clear();
  box.addItems(names);
  box.setEditText(names.isEmpty() ? QString() : names.last());
}

QStringList contactsOf(const QComboBox& box) {
  QStringList names;
  for (int i = 0; i < box.count(); ++i) names << box.itemText(i);
  return names;
}
