// A Yes/No question: a text, or consecutive entries of the text table.
#pragma once

#include <QString>

#include <cstdint>

constexpr int32_t kAnswerYes = 6;
constexpr int32_t kAnswerNo = 7;

// Shows `count` entries from `start` on, each followed by an empty line, in
// a question box titled with entry 19; answers kAnswerYes or kAnswerNo.
int32_t askYesNoFromTexts(int start, int count);
// Shows the text as it is in the same question box.
int32_t askYesNo(const QString& text);
