#include "i18n/ProblemText.h"

#include "sound/SoundFailure.h"

#include <array>
#include <charconv>
#include <cstring>

// Marks a msgid for extraction where it is written; the lookup happens where it is shown.
#define N_(text) text

namespace
{

const char* Template(ProblemKind kind)
{
    switch (kind)
    {
    case ProblemKind::CannotOpenFile:
        return N_("ファイル %1 を開けません。");
    case ProblemKind::UnrecognisedFile:
        return N_("ファイル %1 は，認識できないフォーマットです。");
    case ProblemKind::CannotSave:
        return N_("ファイル %1 を保存できません。(%2)");
    case ProblemKind::NoScreenBuffer:
        return N_("スクリーンバッファの作成に失敗しました。");
    case ProblemKind::PlayFieldClamped:
        return N_("画面の大きさ (%1) は表示できないため (%2) にしました。");
    case ProblemKind::MemberRefused:
        return N_("書庫の中の %1 は安全でない名前のため書き出しませんでした。");
    case ProblemKind::MemberWriteFailed:
        return N_("ﾌｧｲﾙ %1 を書き込めません。(%2)");
    case ProblemKind::ScriptText:
        return "%1";
    case ProblemKind::FkissUnknownCommand:
        return N_("unknown command %1");
    case ProblemKind::FkissShellRefused:
        return N_("shell: running programs is refused");
    case ProblemKind::FkissActionBeforeEvent:
        return N_("%1: action before the first event");
    case ProblemKind::FkissArgumentCount:
        return N_("%1: expected %2 arguments, found %3");
    case ProblemKind::FkissArgumentType:
        return N_("%1: argument %2 must be %3");
    case ProblemKind::FkissUnexpectedCharacter:
        return N_("unexpected character '%1'");
    case ProblemKind::FkissMissingParenthesis:
        return N_("%1: missing ')'");
    case ProblemKind::FkissBadNumber:
        return N_("%1: bad number");
    case ProblemKind::FkissUnterminatedString:
        return N_("%1: unterminated string");
    case ProblemKind::FkissBadName:
        return N_("%1: bad name");
    case ProblemKind::FkissUnexpectedArgumentCharacter:
        return N_("%1: unexpected character '%2'");
    case ProblemKind::FkissIfWithoutEndIf:
        return N_("if without endif");
    case ProblemKind::FkissWithoutIf:
        return N_("%1 without if");
    case ProblemKind::FkissEndIfWithoutIf:
        return N_("endif without if");
    case ProblemKind::FkissEventsTooDeep:
        return N_("events nested more than %1 deep; stopped");
    case ProblemKind::FkissTooManyActions:
        return N_("more than %1 actions in one event; stopped");
    case ProblemKind::FkissGosubTooDeep:
        return N_("gosub nested more than %1 deep; stopped");
    case ProblemKind::FkissNoLabel:
        return N_("no label %1");
    case ProblemKind::FkissCannotOpenSound:
        return N_("cannot open sound file %1");
    case ProblemKind::FkissCannotPlay:
        return N_("cannot play %1: %2");
    case ProblemKind::FkissAttachLoop:
        return N_("attach would make a loop");
    }
    return "%1";
}

/// What FkissArgumentClass number code names; anything else reads as a string.
const char* ArgumentClassText(std::string_view code)
{
    constexpr std::array<const char*, 7> kTexts = {
        N_("a number"),   N_("a number or name"), N_("an object or cel"), N_("a cel or group"),
        N_("a variable"), N_("a number or *"),    N_("a string")};
    if (code.size() != 1 || code[0] < '0' || code[0] >= '0' + static_cast<int>(kTexts.size()))
        return kTexts.back();
    return kTexts[static_cast<std::size_t>(code[0] - '0')];
}

const char* SoundFailureTemplate(SoundFailureKind kind)
{
    switch (kind)
    {
    case SoundFailureKind::TooLong:
        return N_("the sound is longer than %1 minutes");
    case SoundFailureKind::NoSamples:
        return N_("the sound holds no samples");
    case SoundFailureKind::CannotResample:
        return N_("cannot convert the sample rate: %1");
    case SoundFailureKind::NotASound:
        return N_("not a WAV or AU sound (%1)");
    case SoundFailureKind::UnsupportedFormat:
        return N_("unsupported sound: %1 channels at %2 Hz");
    case SoundFailureKind::NotMidi:
        return N_("not a MIDI file (no MThd header)");
    case SoundFailureKind::BadMidiHeader:
        return N_("the MIDI header is not valid");
    case SoundFailureKind::MidiTruncated:
        return N_("the MIDI file is truncated");
    case SoundFailureKind::MidiWithoutTracks:
        return N_("the MIDI file has no tracks");
    case SoundFailureKind::SynthesiserRefused:
        return N_("the synthesiser cannot take the MIDI file");
    case SoundFailureKind::NoSoundFont:
        return N_("no sound font for MIDI music is installed");
    case SoundFailureKind::SoundFontUnloadable:
        return N_("no sound font for MIDI music could be loaded");
    case SoundFailureKind::NoSoundModule:
        return N_("sound cannot play (%1)");
    }
    return "%1";
}

/// FkissCannotPlay's arguments as the file and the worded reason: {file, SoundFailureKind
/// number, its arguments...}. A number no kind has leaves the file alone.
std::vector<std::string> CannotPlayArgs(const std::vector<std::string>& args, Translate translate)
{
    if (args.size() < 2)
        return args;
    int code = -1;
    const std::string& number = args[1];
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), code);
    if (error != std::errc() || end != number.data() + number.size() || code < 0 ||
        code > static_cast<int>(SoundFailureKind::NoSoundModule))
        return {args[0]};
    const char* reason = SoundFailureTemplate(static_cast<SoundFailureKind>(code));
    const std::span<const std::string> reasonArgs(args.begin() + 2, args.end());
    return {args[0], Fill(translate(reason), reasonArgs)};
}

} // namespace

std::string Untranslated(const char* msgid)
{
    return msgid;
}

std::string Fill(std::string_view text, std::span<const std::string> args)
{
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9')
        {
            const auto index = static_cast<std::size_t>(text[i + 1] - '1');
            if (index < args.size())
                filled += args[index];
            ++i;
            continue;
        }
        filled += text[i];
    }
    return filled;
}

std::string ProblemSentence(const Problem& problem, Translate translate)
{
    std::vector<std::string> args = problem.args;
    if (problem.kind == ProblemKind::CannotSave || problem.kind == ProblemKind::MemberWriteFailed)
    {
        args.resize(1);
        args.emplace_back(std::strerror(problem.systemError));
    }
    if (problem.kind == ProblemKind::FkissArgumentType && args.size() == 3)
        args[2] = translate(ArgumentClassText(args[2]));
    const char* pattern = Template(problem.kind);
    if (problem.kind == ProblemKind::FkissCannotPlay)
    {
        args = CannotPlayArgs(args, translate);
        if (args.size() < 2)
            pattern = N_("cannot play %1");
    }
    return Fill(problem.kind == ProblemKind::ScriptText ? pattern : translate(pattern), args);
}

std::string ProblemText(const Problem& problem, Translate translate)
{
    std::string sentence = ProblemSentence(problem, translate);
    if (!IsFkissWarning(problem.kind))
        return sentence;
    const std::string args[] = {std::move(sentence)};
    return Fill(translate(N_("warning: %1")), args);
}

std::string LocatedText(const Problem& problem, Translate translate)
{
    return problem.file + ":" + std::to_string(problem.line) + ": " + ProblemText(problem, translate);
}

std::string ProblemLines(std::span<const Problem> problems, ProblemForm form, Translate translate)
{
    constexpr std::size_t kListed = 10;
    std::string lines;
    for (std::size_t i = 0; i < problems.size() && i <= kListed; ++i)
    {
        if (i > 0)
            lines += '\n';
        if (i == kListed)
        {
            lines += "...";
            break;
        }
        lines += form == ProblemForm::Located ? LocatedText(problems[i], translate)
                                              : ProblemText(problems[i], translate);
    }
    return lines;
}

std::string ProblemBox(std::span<const Problem> problems, Translate translate)
{
    std::vector<Problem> files;
    std::vector<Problem> code;
    for (const Problem& problem : problems)
        (IsFkissWarning(problem.kind) ? code : files).push_back(problem);
    std::string box = ProblemLines(files, ProblemForm::Sentence, translate);
    if (!code.empty())
        box += (box.empty() ? "" : "\n") + ProblemLines(code, ProblemForm::Located, translate);
    return box;
}

std::string LogEntryText(const Problem& problem, Translate translate)
{
    std::string text;
    if (!problem.file.empty())
    {
        text = problem.file;
        if (problem.line > 0)
            text += "(" + std::to_string(problem.line) + ")";
        text += ": ";
    }
    return text + ProblemText(problem, translate);
}
