#include "cli/CommandLine.h"

#include "archive/ArchiveFileSource.h"
#include "cli/FailureText.h"
#include "i18n/ConsoleCatalog.h"
#include "i18n/ProblemText.h"
#include "image/PngWriter.h"
#include "image/Reduce.h"
#include "scene/FileSource.h"
#include "session/SetSession.h"
#include "sound/SoundPlayer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <limits>
#include <string_view>

namespace
{

constexpr std::string_view kSynopsis =
    "Usage: velquin [FILE.CNF]\n"
    "         Open the viewer, on the KiSS configuration file when one is given.\n"
    "       velquin --export OUT.png [--set N] [--palette-group G] [--colour-mode full|256] "
    "[--size N] [--cnf NAME] [--time MS] [--no-fkiss] SET\n"
    "         Compose the screen of SET without a window and write it as a PNG. SET is a\n"
    "         configuration file or an LZH or ZIP archive holding one.\n"
    "       velquin --list ARCHIVE\n"
    "         Print the configuration files in ARCHIVE, one per line.\n"
    "       velquin --help\n";

constexpr std::string_view kOptions =
    "\n"
    "Options:\n"
    "  --export OUT.png         write the composed screen to OUT.png (8-bit RGB)\n"
    "  --set N                  show set N, 0 to 9 (default 0)\n"
    "  --palette-group G        give the shown set palette group G (default: the set's own)\n"
    "  --colour-mode full|256   compose in full colour (default) or in 256-colour mode\n"
    "  --size N                 reduce the picture to fit N by N pixels, never enlarging it;\n"
    "                           as a thumbnailer must, the run then ends itself after 30 s\n"
    "  --cnf NAME               the configuration in the archive to use, with or without its\n"
    "                           folder, in any case (needed when it holds several)\n"
    "  --list ARCHIVE           list the configuration files in ARCHIVE\n"
    "  --time MS                run MS milliseconds of the set's FKiSS timers first (default 0)\n"
    "  --no-fkiss               ignore the set's FKiSS code\n"
    "  --help                   show this text\n"
    "\n"
    "Files the configuration names that cannot be loaded, and FKiSS diagnostics, are listed on\n"
    "standard error.\n";

struct ExportOptions
{
    bool help = false;
    std::string output;
    std::string config;
    std::optional<int> set;
    std::optional<std::int32_t> paletteGroup;
    std::int32_t depth = 32;
    std::optional<std::int32_t> size;
    std::string cnf;
    std::string list;
    std::int32_t time = 0;
    bool fkiss = true;
};

/// File managers wait for a thumbnailer; one that hangs on a broken set must end by itself.
constexpr unsigned kThumbnailSeconds = 30;

extern "C" void EndThumbnail(int)
{
    constexpr char kMessage[] = "velquin: time limit reached\n";
    [[maybe_unused]] const auto written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(1);
}

/// Arms the time limit for as long as it lives.
class TimeLimit
{
public:
    explicit TimeLimit(unsigned seconds) : m_previous(std::signal(SIGALRM, EndThumbnail))
    {
        alarm(seconds);
    }
    ~TimeLimit()
    {
        alarm(0);
        std::signal(SIGALRM, m_previous);
    }
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;

private:
    void (*m_previous)(int);
};

/// Prints the file problems on standard error, a line each, ten at a time; the code's warnings
/// are printed whole once the code has run.
struct ConsoleSink : ProblemSink
{
    void Report(std::span<const Problem> problems) override
    {
        std::vector<Problem> files;
        std::copy_if(problems.begin(), problems.end(), std::back_inserter(files),
                     [](const Problem& problem) { return !IsFkissWarning(problem.kind); });
        if (!files.empty())
            std::cerr << ProblemLines(files, ProblemForm::Sentence, ConsoleTranslate) << '\n';
    }
};

std::optional<std::int32_t> ParseNumber(std::string_view text, std::int32_t highest)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > highest)
        return std::nullopt;
    return value;
}

/// Fills options from argv; on a bad command line returns the reason.
std::optional<std::string> ParseArguments(int argc, char** argv, ExportOptions& options)
{
    bool hasOutput = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i)
    {
        std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-')
        {
            if (!options.config.empty())
                return "more than one configuration file given";
            options.config = arg;
            continue;
        }
        if (arg == "--")
        {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help")
        {
            options.help = true;
            continue;
        }
        if (arg == "--no-fkiss")
        {
            options.fkiss = false;
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const auto equals = arg.find('='); equals != std::string_view::npos)
        {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (name != "--export" && name != "--set" && name != "--palette-group" &&
            name != "--colour-mode" && name != "--size" && name != "--cnf" && name != "--list" &&
            name != "--time")
            return "unknown option " + std::string(arg);
        if (!value)
        {
            if (i + 1 >= argc)
                return std::string(name) + " needs a value";
            value = argv[++i];
        }
        if (name == "--export")
        {
            if (value->empty())
                return "--export needs a file name";
            options.output = *value;
            hasOutput = true;
        }
        else if (name == "--set")
        {
            options.set = ParseNumber(*value, kSetCount - 1);
            if (!options.set)
                return "--set takes a number from 0 to 9, not '" + std::string(*value) + "'";
        }
        else if (name == "--palette-group")
        {
            options.paletteGroup = ParseNumber(*value, std::numeric_limits<std::int32_t>::max());
            if (!options.paletteGroup)
                return "--palette-group takes a number of 0 or more, not '" + std::string(*value) +
                       "'";
        }
        else if (name == "--size")
        {
            options.size = ParseNumber(*value, std::numeric_limits<std::int32_t>::max());
            if (!options.size || *options.size == 0)
                return "--size takes a number of 1 or more, not '" + std::string(*value) + "'";
        }
        else if (name == "--cnf" || name == "--list")
        {
            if (value->empty())
                return std::string(name) + " needs a name";
            (name == "--cnf" ? options.cnf : options.list) = *value;
        }
        else if (name == "--time")
        {
            const auto time = ParseNumber(*value, std::numeric_limits<std::int32_t>::max());
            if (!time)
                return "--time takes milliseconds, 0 or more, not '" + std::string(*value) + "'";
            options.time = *time;
        }
        else if (*value == "full" || *value == "256")
        {
            options.depth = *value == "full" ? 32 : 8;
        }
        else
        {
            return "--colour-mode takes full or 256, not '" + std::string(*value) + "'";
        }
    }
    if (options.help)
        return std::nullopt;
    if (!options.list.empty())
    {
        if (hasOutput || !options.config.empty())
            return std::string("--list takes the archive alone");
        return std::nullopt;
    }
    if (!hasOutput)
        return std::string("--export OUT.png is required");
    if (options.config.empty())
        return std::string("no configuration file given");
    return std::nullopt;
}

/// The screen as 8-bit RGB rows, top row first; 8-bit screens go through their colour table.
std::vector<std::uint8_t> ScreenToRgb(const ScreenBuffer& buffer)
{
    constexpr std::size_t kInfoHeaderSize = 40;
    const auto width = static_cast<std::size_t>(buffer.Width());
    std::vector<std::uint8_t> rgb(3 * width * static_cast<std::size_t>(buffer.Height()));
    const std::uint8_t* table = buffer.BitmapInfo().data() + kInfoHeaderSize;
    std::uint8_t* out = rgb.data();
    for (std::int32_t y = 0; y < buffer.Height(); ++y)
    {
        const std::uint8_t* row = buffer.ScreenRow(y);
        for (std::size_t x = 0; x < width; ++x, out += 3)
        {
            const std::uint8_t* bgr = buffer.Depth() == 8    ? table + 4 * std::size_t{row[x]}
                                      : buffer.Depth() == 24 ? row + 3 * x
                                                             : row + 4 * x;
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
        }
    }
    return rgb;
}

/// Whether path can be read, checked without waiting on a pipe; when not, says why.
bool CanOpen(const std::string& path)
{
    const int error = CheckReadable(path);
    if (error != 0)
        std::cerr << "velquin: cannot open " << path << ": " << std::strerror(error) << '\n';
    return error == 0;
}

std::shared_ptr<const Archive> OpenArchive(const std::string& path)
{
    if (!CanOpen(path))
        return nullptr;
    Archive::OpenResult opened = Archive::Open(path);
    if (!opened.archive)
        std::cerr << "velquin: cannot read " << path << ": "
                  << ArchiveErrorText(opened.error, opened.errnoValue) << '\n';
    return std::move(opened.archive);
}

int List(const std::string& path)
{
    const auto archive = OpenArchive(path);
    if (!archive)
        return 1;
    for (const std::string& name : archive->Configurations())
        std::cout << name << '\n';
    std::cout << std::flush;
    return 0;
}

/// Opens the set that options name: the configuration that --cnf names in an archive, or its
/// only one. Nothing after saying why, with the exit status in status.
std::optional<SetLayer> OpenSet(const ExportOptions& options, int& status)
{
    status = 1;
    const auto choose = [&](const Archive&, const std::vector<std::string>& configs) {
        status = 2;
        if (!options.cnf.empty())
        {
            std::optional<std::string> chosen = MatchConfiguration(configs, options.cnf);
            if (!chosen)
                std::cerr << "velquin: " << options.config << " holds no configuration "
                          << options.cnf << '\n';
            return chosen;
        }
        if (configs.size() == 1)
            return std::optional<std::string>(configs.front());
        std::cerr << "velquin: " << options.config
                  << " holds several configurations; choose one with --cnf:\n";
        for (const std::string& name : configs)
            std::cerr << "  " << name << '\n';
        return std::optional<std::string>();
    };
    OpenOutcome outcome = OpenSetLayer(options.config, choose);
    switch (outcome.failure)
    {
    case OpenFailure::None:
        break;
    case OpenFailure::Unreadable:
        std::cerr << "velquin: cannot open " << outcome.file << ": "
                  << std::strerror(outcome.systemError) << '\n';
        status = 1;
        break;
    case OpenFailure::ArchiveUnreadable:
        std::cerr << "velquin: cannot read " << options.config << ": "
                  << ArchiveErrorText(outcome.archiveError, outcome.systemError) << '\n';
        status = 1;
        break;
    case OpenFailure::NoConfiguration:
        if (!options.cnf.empty())
        {
            std::cerr << "velquin: " << options.config << " holds no configuration "
                      << options.cnf << '\n';
            status = 2;
            break;
        }
        std::cerr << "velquin: " << options.config << " holds no configuration file\n";
        status = 1;
        break;
    case OpenFailure::NoSuchMember:
        std::cerr << "velquin: " << options.config << " holds no configuration " << outcome.member
                  << '\n';
        status = 2;
        break;
    case OpenFailure::MemberUnreadable:
        std::cerr << "velquin: cannot read " << outcome.member << " in " << options.config << '\n';
        status = 1;
        break;
    case OpenFailure::NotChosen:
        break;
    }
    return std::move(outcome.layer);
}

int Export(const ExportOptions& options)
{
    // Resolved now, against the directory the command was started in.
    std::error_code ignored;
    const std::string output = std::filesystem::absolute(options.output, ignored).string();
    std::optional<TimeLimit> limit;
    if (options.size)
        limit.emplace(kThumbnailSeconds);

    int status = 0;
    std::optional<SetLayer> layer = OpenSet(options, status);
    if (!layer)
        return status;
    ConsoleSink sink;
    // The FKiSS sounds are read (not played), so that a missing one is reported as in the viewer.
    SilentSoundPlayer silence;
    SetSession session(SetSession::Options{Presentation::Headless, nullptr}, &sink, &silence);
    session.SetFkiss(options.fkiss ? FkissSwitch::On : FkissSwitch::Off);
    ScreenBuffer& buffer = session.Screen();
    buffer.SetFormat(0, 0, options.depth);
    if (!session.Open(std::move(*layer)))
    {
        std::cerr << "velquin: cannot read " << options.config << '\n';
        return 1;
    }
    if (options.set)
        session.SelectSet(*options.set, 0);
    if (options.paletteGroup)
        session.SelectPaletteGroup(*options.paletteGroup, 0);
    if (FkissEngine* engine = session.Engine())
    {
        engine->RunFor(options.time);
        for (const FkissDiagnostic& diagnostic : engine->Diagnostics())
            std::cerr << LocatedText(diagnostic, ConsoleTranslate) << '\n';
    }

    const Scene& scene = session.GetScene();
    scene.ApplyToBuffer(buffer, true, true);
    if (!buffer.HasPixels())
        return 1;
    scene.DrawDirty(buffer);
    buffer.ClearDirty();

    ImageSize size{buffer.Width(), buffer.Height()};
    std::vector<std::uint8_t> rgb = ScreenToRgb(buffer);
    if (options.size)
    {
        const ImageSize fitted = FitWithin(size, *options.size);
        if (fitted != size)
            rgb = ReduceRgb(rgb, size, fitted);
        size = fitted;
    }
    PngWriteError error;
    if (!WritePng(output, size.width, size.height, rgb, &error))
    {
        std::cerr << "velquin: " << PngWriteErrorText(output, error) << '\n';
        return 1;
    }
    return 0;
}

} // namespace

bool IsConsoleCommand(int argc, char** argv)
{
    // The window takes a file and nothing else.
    for (int i = 1; i < argc; ++i)
    {
        const std::string_view arg = argv[i];
        if (arg == "--")
            return false;
        if (arg.size() >= 2 && arg[0] == '-')
            return true;
    }
    return false;
}

std::optional<int> RunCommandLineTool(int argc, char** argv)
{
    if (!IsConsoleCommand(argc, argv))
        return std::nullopt;

    ExportOptions options;
    if (const auto problem = ParseArguments(argc, argv, options))
    {
        std::cerr << "velquin: " << *problem << '\n'
                  << kSynopsis << "Try 'velquin --help' for the options.\n";
        return 2;
    }
    if (options.help)
    {
        std::cout << kSynopsis << kOptions << std::flush;
        return 0;
    }
    if (!options.list.empty())
        return List(options.list);
    return Export(options);
}
