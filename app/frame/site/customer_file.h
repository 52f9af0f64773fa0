// The text of a customer file <id>.dak: the customer, its maps, their
// systems, central systems, units and unit links, one record a line.
#pragma once

#include "frame/site/record_fields.h"
#include "types/CustomInfor.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// Whether a file with these head numbers holds the model line after each
// map line: not for heads 0 or less with 5 or less, nor for 0 and 51.
bool headHasModelLine(int32_t major, int32_t minor);

// The file text of `customer` under the head numbers. Maps, systems and
// units are written by their numbers 1..count; a tree whose numbers have
// gaps or repeats would be misread, so it is refused with a reason.
bool writeCustomerText(const CustomInfor& customer, int32_t major, int32_t minor, QByteArray& text,
                       QString& error);

// Reads a customer file into `customer` (which should be new). A damaged
// file (a field that is not a number, a negative or impossible count, a key
// that repeats, a file that ends before the texts, the map count or the
// content it declares, or inside a record) fails with the line at fault.
bool readCustomerText(const QByteArray& text, CustomInfor& customer, ReadFault& fault);
