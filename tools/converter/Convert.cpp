#include "Convert.h"

#include "BmpReader.h"
#include "CelWriter.h"
#include "Utf8.h"
#include "Wildcard.h"
#include "i18n/ConsoleCatalog.h"
#include "i18n/ProblemText.h"
#include "scene/OutputFile.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <system_error>
#include <utility>
#include <vector>

namespace
{
/// Tarnel's texts are marked for the catalog by this name.
std::string Tr(const char* msgid)
{
    return ConsoleTranslate(msgid);
}

/// Writes text as one line, with "%1" and "%2" replaced by the names.
void Say(std::ostream& out, const std::string& text, std::string first, std::string second = {})
{
    const std::string names[] = {std::move(first), std::move(second)};
    out << Fill(text, names) << '\n';
}

/// Only a regular file opens: a folder holds no bytes to read, and a pipe or a device would
/// hang the conversion or never end.
bool OpenForReading(const std::string& name, std::ifstream& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error))
        return false;
    file.open(name, std::ios::binary);
    return file.is_open();
}

/// Whether something other than a regular file lies under name: a mask that is there but
/// cannot be read is an error, while a missing one only means that there is none.
bool IsThereButNotAFile(const std::string& name)
{
    std::error_code error;
    const auto type = std::filesystem::status(name, error).type();
    return type != std::filesystem::file_type::not_found &&
           type != std::filesystem::file_type::none && type != std::filesystem::file_type::regular;
}

// Prints the message for a failed header check and tells whether the bitmap may be used.
bool Accepted(const BmpReader& reader, std::string_view name, std::ostream& out)
{
    if (reader.Check() == BitmapCheck::Ok)
        return true;
    Say(out,
        reader.Check() == BitmapCheck::NotBitmap ? Tr("入力ファイル %1が不正です")
                                                 : Tr("入力ファイル %1を処理できません"),
        std::string(name));
    return false;
}

void Write(std::ostream& out, std::span<const std::uint8_t> bytes)
{
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
} // namespace

bool IsConvertibleName(std::string_view name)
{
    if (name.empty() || name.front() == '_' || CharBytes(name, 0) == name.size())
        return false;
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || name.size() - dot != 4)
        return false;
    const std::string_view tail = name.substr(dot + 1);
    return (tail[0] | 0x20) == 'b' && (tail[1] | 0x20) == 'm' && (tail[2] | 0x20) == 'p';
}

std::string MaskName(std::string_view name)
{
    if (name.empty())
        return "_";
    return "_" + std::string(name.substr(CharBytes(name, 0)));
}

std::string OutputName(std::string_view name)
{
    std::string output(name);
    const std::size_t dot = output.find('.');
    if (dot != std::string::npos)
        output.replace(dot + 1, 3, "CEL");
    return output;
}

void WriteConvertedCel(BmpReader& image, BmpReader* mask, std::ostream& out)
{
    const std::int32_t width = image.Width();
    const std::int32_t height = image.Height();
    Write(out, EncodeCelHeader({.width = static_cast<std::uint16_t>(width),
                                .height = static_cast<std::uint16_t>(height)}));

    const auto rowBytes = static_cast<std::size_t>(BmpReader::RowBytes(width));
    std::vector<std::uint8_t> row(rowBytes);
    std::vector<std::uint8_t> maskRow(rowBytes);
    std::vector<std::uint8_t> cel(std::size_t{4} * static_cast<std::size_t>(width));

    image.ReadRow(width, 0, row);
    const std::array<std::uint8_t, 3> key{row[0], row[1], row[2]};

    // Bitmaps store the bottom row first; cels the top row.
    for (std::int32_t stored = height - 1; stored >= 0; --stored)
    {
        image.ReadRow(width, stored, row);
        if (mask)
            mask->ReadRow(width, stored, maskRow);
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x)
        {
            const std::uint8_t* bgr = &row[3 * x];
            std::uint8_t alpha = 0xFF;
            if (mask)
                alpha = static_cast<std::uint8_t>(0xFF - maskRow[3 * x]);
            else if (bgr[0] == key[0] && bgr[1] == key[1] && bgr[2] == key[2])
                alpha = 0;
            std::uint8_t* target = &cel[4 * x];
            // A fully transparent pixel is stored black, whatever its colour was.
            target[0] = alpha ? bgr[0] : 0;
            target[1] = alpha ? bgr[1] : 0;
            target[2] = alpha ? bgr[2] : 0;
            target[3] = alpha;
        }
        Write(out, cel);
    }
}

Outcome ConvertArgument(const std::string& name, std::ostream& out)
{
    if (!IsConvertibleName(name))
    {
        Say(out, Tr("入力ファイル %1をスキップします"), name);
        return Outcome::Skipped;
    }
    std::ifstream imageFile;
    if (!OpenForReading(name, imageFile))
    {
        Say(out, Tr("入力ファイル %1がオープンできません"), name);
        return Outcome::Failed;
    }
    const std::string maskName = MaskName(name);
    std::ifstream maskFile;
    const bool hasMask = OpenForReading(maskName, maskFile);
    if (!hasMask && IsThereButNotAFile(maskName))
    {
        Say(out, Tr("入力ファイル %1がオープンできません"), maskName);
        return Outcome::Failed;
    }
    if (hasMask)
        Say(out, Tr("入力ファイル %1と%2を処理します"), name, maskName);
    else
        Say(out, Tr("入力ファイル %1を処理します"), name);

    // Both bitmaps are checked before the output is created, so a bad input never empties or
    // replaces an existing cel.
    BmpReader image(imageFile);
    if (!Accepted(image, name, out))
        return Outcome::Failed;
    std::optional<BmpReader> mask;
    if (hasMask)
    {
        mask.emplace(maskFile);
        if (!Accepted(*mask, maskName, out))
            return Outcome::Failed;
        if (mask->Width() != image.Width() || mask->Height() != image.Height())
            Say(out, Tr("入力ファイル %1と%2のサイズが異なります"), name, maskName);
    }

    const std::string outputName = OutputName(name);
    OutputFile output(outputName);
    if (output.Open() != 0)
    {
        Say(out, Tr("出力ファイル %1 がオープンできません"), outputName);
        return Outcome::Failed;
    }
    WriteConvertedCel(image, mask ? &*mask : nullptr, output.Stream());
    if (const int error = output.Commit(); error != 0)
    {
        Say(out, Tr("出力ファイル %1 が書き込めません(%2)"), outputName,
            std::system_category().message(error));
        return Outcome::Failed;
    }
    return Outcome::Converted;
}

int RunTarnel(const std::vector<std::string>& arguments, std::ostream& out)
{
    if (arguments.empty())
    {
        out << "Convert 24bitDib to 32bitCell ver0.02\n"
            << "usage : Tarnel filename(s)\n"
            << "exit  : 0 all converted, 1 any failed, 2 no filename\n";
        return kExitUsage;
    }
    int status = kExitConverted;
    for (const std::string& name : ExpandWildcards(arguments))
    {
        if (ConvertArgument(name, out) == Outcome::Failed)
            status = kExitFailed;
    }
    return status;
}
