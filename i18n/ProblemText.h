#pragma once

#include "config/Problem.h"

#include <span>
#include <string>
#include <string_view>

/// Looks up a text's translation by its msgid, the original text; returns msgid itself when
/// there is none. Each program passes its own catalog's.
using Translate = std::string (*)(const char* msgid);
std::string Untranslated(const char* msgid);

/// text with "%1" to "%9" replaced by the arguments in order; a missing one leaves nothing, and
/// the arguments themselves are not searched.
std::string Fill(std::string_view text, std::span<const std::string> args);

/// The problem as one sentence: "ファイル A.CEL を開けません。", "no label 3".
std::string ProblemSentence(const Problem& problem, Translate translate = Untranslated);
/// The sentence as the messages list shows it: FKiSS code's warnings say so, "warning: no label 3".
std::string ProblemText(const Problem& problem, Translate translate = Untranslated);

/// "FILE:LINE: " and the sentence, as compilers place their warnings.
std::string LocatedText(const Problem& problem, Translate translate = Untranslated);

enum class ProblemForm : std::uint8_t
{
    /// The sentence alone.
    Sentence,
    /// As LocatedText.
    Located,
};
/// One problem per line, without a last line end: at most ten, then "..." for the rest.
std::string ProblemLines(std::span<const Problem> problems, ProblemForm form,
                         Translate translate = Untranslated);

/// A message box's worth: the problems with files first, as sentences, then the warnings about
/// FKiSS code, located; each part lists ten, then "...".
std::string ProblemBox(std::span<const Problem> problems, Translate translate = Untranslated);

/// A messages-list entry as one line: "FILE(LINE): TEXT", "FILE: TEXT" or "TEXT".
std::string LogEntryText(const Problem& problem, Translate translate = Untranslated);
