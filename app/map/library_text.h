// Texts for the library's fixed text fields: UTF-8 bytes cut on a character
// boundary so that they fit their field together with its terminator.
#pragma once

#include <QByteArray>
#include <QString>

// Field sizes in bytes, terminator included.
constexpr int kCustomerIdField = 32;
constexpr int kPersonField = 32;
constexpr int kCustomerNameField = 64;
constexpr int kMapNameField = 64;
constexpr int kUnitTextField = 64;  // model, serial number, installation site

// The text's UTF-8 bytes, at most fieldBytes - 1 of them; a character that
// would not fit whole is left out with all that follows it.
QByteArray cutToField(const QString& text, int fieldBytes);
// As cutToField, and an empty text becomes one blank " ".
QByteArray textForField(const QString& text, int fieldBytes);
