// The keyword tables of the conversion program: which function runs each
// converter, operator and text word. Keywords match case-sensitively and
// whole, compared in a fixed order.
#pragma once

#include "tables/table_words.h"

namespace tramsoll {

// Whole-word comparison with a keyword. Most words differ from a keyword in
// their first character; an inline comparison leaves those at once.
inline bool isKeyword(const char* word, const char* keyword) {
  while (*keyword && *keyword == *word) {
    ++keyword;
    ++word;
  }
  return *keyword == *word;
}

// The word read as a data operand `name[index]`.
OperandAddress operandAddress(const char* word);

// The converter of a program's first word; nullptr for any other word.
WordRun findConverter(const char* word);
// An operator (`add` ... `big`, `ptable`, `stable`, `utable`); nullptr else.
WordRun findOperator(const char* word);
// A text word ending the program (`ercd`, `hex`, `table`, `etable`).
WordRun findTextWord(const char* word);

}  // namespace tramsoll
