#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class BmpReader;

/// Whether an argument names a bitmap to convert: it does not begin with "_", is longer than
/// one character, and its text from the first "." on is ".bmp" in any letter case.
bool IsConvertibleName(std::string_view name);
/// The argument with its first character replaced by "_".
std::string MaskName(std::string_view name);
/// The argument with the three characters after its first "." replaced by "CEL".
std::string OutputName(std::string_view name);

/// Writes the 32-bit cel made from an image and its optional mask, whose headers both passed
/// their checks. The mask is read with the image's width and height.
void WriteConvertedCel(BmpReader& image, BmpReader* mask, std::ostream& out);

enum class Outcome
{
    Skipped,
    Converted,
    Failed,
};

/// Converts one argument, reporting on `out`, one message per line. The cel appears under its
/// name only when it was written completely.
Outcome ConvertArgument(const std::string& name, std::ostream& out);

/// Exit statuses of the program.
constexpr int kExitConverted = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

/// The whole program: the usage text without arguments, otherwise the wildcards expanded and
/// every name converted in order. Returns the exit status: converted when no argument that was
/// not skipped failed.
int RunTarnel(const std::vector<std::string>& arguments, std::ostream& out);
