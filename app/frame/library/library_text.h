// Texts across the library boundary: UTF-8 bytes in zero-terminated buffers.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// A text the library wrote into a buffer of `capacity` bytes, `length` of
// them used; lengths outside the buffer are cut to it and a terminator ends
// it early. Decoded as UTF-8; a character cut off at the end of the buffer
// is dropped rather than shown as a replacement sign.
QString textFromLibrary(const char* buffer, int32_t length, int capacity);
// A text as the library takes it: UTF-8 bytes, zero-terminated, at most
// `byteLimit` bytes before the terminator (no limit when negative). A
// character that does not fit whole is left out with everything after it.
QByteArray textForLibrary(const QString& text, int byteLimit = -1);
