// The service station's contact persons as the customer list and the
// station editor offer them: the one chosen last stands at the end of the
// list and is offered first next time.
#pragma once

#include "types/DataManageInfor.h"

#include <QString>
#include <QStringList>

class QComboBox;

// The names with `chosen` (trimmed) put last: the first name equal to it
// (compared with `sensitivity`) leaves its place and `chosen` as typed ends
// the list; a name not yet listed is added. An empty choice leaves the
// names as they are.
QStringList contactsWithChosenLast(const QStringList& names, const QString& chosen, Qt::CaseSensitivity sensitivity);

QStringList contactNames(const DataManageInfor& station);
// Puts the names in place of the station's, keyed "1" .. "n" in order.
void setContactNames(DataManageInfor& station, const QStringList& names);

// A combo box of contacts: the station's names in order, the last one as
// its text; and the names it holds.
void showContacts(QComboBox& box, const DataManageInfor& station);
QStringList contactsOf(const QComboBox& box);
