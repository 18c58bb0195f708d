#include "i18n/ProblemText.h"

#include "sound/SoundFailure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace
{

/// A catalog that marks every text it translates, to show which texts went through it.
std::string Marked(const char* msgid)
{
    return std::string("<") + msgid + ">";
}

/// FkissCannotPlay of file, failed for why with its arguments.
Problem CannotPlay(const std::string& file, SoundFailureKind why, std::vector<std::string> args)
{
    args.insert(args.begin(), {file, std::to_string(static_cast<int>(why))});
    return {ProblemKind::FkissCannotPlay, "K.CNF", 5, std::move(args)};
}

} // namespace

TEST(ProblemTextTest, EachKindReadsAsTheProgramHasAlwaysWorded)
{
    struct Case
    {
        Problem problem;
        const char* expected;
    };
    const Case cases[] = {
        {{ProblemKind::CannotOpenFile, "a.kcf", 0, {"a.kcf"}}, "ファイル a.kcf を開けません。"},
        {{ProblemKind::UnrecognisedFile, "b.cel", 0, {"b.cel"}},
         "ファイル b.cel は，認識できないフォーマットです。"},
        {{ProblemKind::NoScreenBuffer, {}, 0, {}}, "スクリーンバッファの作成に失敗しました。"},
        {{ProblemKind::CannotSave, "/x/K.CNF", 0, {"/x/K.CNF"}, ENOSPC},
         "ファイル /x/K.CNF を保存できません。(No space left on device)"},
        {{ProblemKind::ScriptText, "K.CNF", 4, {"100% %1 done"}}, "100% %1 done"},
        {{ProblemKind::FkissUnknownCommand, "K.CNF", 2, {"frob"}}, "warning: unknown command frob"},
        {{ProblemKind::FkissArgumentCount, "K.CNF", 2, {"move", "3", "2"}},
         "warning: move: expected 3 arguments, found 2"},
        {{ProblemKind::FkissArgumentType, "K.CNF", 2, {"map", "1", "3"}},
         "warning: map: argument 1 must be a cel or group"},
        // A class the list does not know reads as the catch-all.
        {{ProblemKind::FkissArgumentType, "K.CNF", 2, {"map", "1", "9"}},
         "warning: map: argument 1 must be a string"},
        {{ProblemKind::FkissUnexpectedArgumentCharacter, "K.CNF", 2, {"map", "@"}},
         "warning: map: unexpected character '@'"},
        {{ProblemKind::FkissAttachLoop, "K.CNF", 9, {}}, "warning: attach would make a loop"},
    };
    for (const Case& c : cases)
    {
        if (c.problem.kind == ProblemKind::CannotSave &&
            std::string(std::strerror(ENOSPC)) != "No space left on device")
            continue; // another C library words the reason differently
        EXPECT_EQ(ProblemText(c.problem), c.expected);
    }
}

TEST(ProblemTextTest, TheCatalogTranslatesTheWordingButNeverTheSetsOwnText)
{
    const Problem missing{ProblemKind::CannotOpenFile, "a.kcf", 0, {"a.kcf"}};
    // The name goes in after the lookup, so the translation places it.
    EXPECT_EQ(ProblemText(missing, Marked), "<ファイル a.kcf を開けません。>");
    EXPECT_EQ(ProblemText(Problem{ProblemKind::ScriptText, "K.CNF", 1, {"hello"}}, Marked),
              "hello");
    const Problem type{ProblemKind::FkissArgumentType, "K.CNF", 2, {"map", "1", "0"}};
    EXPECT_EQ(ProblemSentence(type, Marked), "<map: argument 1 must be <a number>>");
    EXPECT_EQ(ProblemText(type, Marked), "<warning: <map: argument 1 must be <a number>>>");
    EXPECT_EQ(ProblemSentence(CannotPlay("a.wav", SoundFailureKind::NotASound, {"raw"}), Marked),
              "<cannot play a.wav: <not a WAV or AU sound (raw)>>");
}

TEST(ProblemTextTest, ASoundThatCannotPlaySaysWhyInThePlayersWords)
{
    struct Case
    {
        Problem problem;
        const char* expected;
    };
    const Case cases[] = {
        {CannotPlay("a.wav", SoundFailureKind::TooLong, {"10"}),
         "cannot play a.wav: the sound is longer than 10 minutes"},
        {CannotPlay("b.au", SoundFailureKind::UnsupportedFormat, {"0", "8000"}),
         "cannot play b.au: unsupported sound: 0 channels at 8000 Hz"},
        {CannotPlay("c.mid", SoundFailureKind::NoSoundFont, {}),
         "cannot play c.mid: no sound font for MIDI music is installed"},
        {CannotPlay("d.wav", SoundFailureKind::NoSoundModule, {"velquin-sound.so: not found"}),
         "cannot play d.wav: sound cannot play (velquin-sound.so: not found)"},
        // A reason this program does not know leaves the file alone.
        {{ProblemKind::FkissCannotPlay, "K.CNF", 5, {"e.wav", "200"}}, "cannot play e.wav"},
        {{ProblemKind::FkissCannotPlay, "K.CNF", 5, {"f.wav", "x"}}, "cannot play f.wav"},
        {{ProblemKind::FkissCannotPlay, "K.CNF", 5, {"g.wav"}}, "cannot play g.wav"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProblemSentence(c.problem), c.expected);
}

TEST(ProblemTextTest, FillPlacesNamesInEitherOrderAndNeverSearchesThem)
{
    const std::vector<std::string> args = {"%2", "two"};
    EXPECT_EQ(Fill("%1-%2-%3-%", args), "%2-two--%");
    EXPECT_EQ(Fill("100%", args), "100%");
    const std::vector<std::string> names = {"A.BMP", "_.BMP"};
    EXPECT_EQ(Fill("入力ファイル %1と%2を処理します", names), "入力ファイル A.BMPと_.BMPを処理します");
    const std::vector<std::string> write = {"disk full", "X.CEL"};
    EXPECT_EQ(Fill("Cannot write the file %2. (%1)", write),
              "Cannot write the file X.CEL. (disk full)");
    const std::vector<std::string> tricky = {"%2%1", "%1"};
    EXPECT_EQ(Fill("%1 and %2", tricky), "%2%1 and %1");
}

TEST(ProblemTextTest, ListsStopAtTenAndLocateWhereAsked)
{
    std::vector<Problem> problems;
    for (int i = 0; i < 12; ++i)
        problems.push_back({ProblemKind::FkissNoLabel, "K.CNF", i + 1, {std::to_string(i)}});
    const std::string located = ProblemLines(problems, ProblemForm::Located);
    EXPECT_EQ(located.substr(0, located.find('\n')), "K.CNF:1: warning: no label 0");
    EXPECT_EQ(located.substr(located.rfind('\n')), "\n...");
    EXPECT_EQ(std::count(located.begin(), located.end(), '\n'), 10);
    problems.resize(2);
    EXPECT_EQ(ProblemLines(problems, ProblemForm::Sentence),
              "warning: no label 0\nwarning: no label 1");
    EXPECT_EQ(ProblemLines({}, ProblemForm::Sentence), "");
}

TEST(ProblemTextTest, LogEntriesNameTheirFileAndLineWhenTheyHaveThem)
{
    struct Case
    {
        Problem problem;
        const char* expected;
    };
    const Case cases[] = {
        {{ProblemKind::ScriptText, "A.CEL", 0, {"gone"}}, "A.CEL: gone"},
        {{ProblemKind::ScriptText, "KISS.CNF", 12, {"bad"}}, "KISS.CNF(12): bad"},
        {{ProblemKind::ScriptText, "", 7, {"no file"}}, "no file"},
        {{ProblemKind::ScriptText, "", 0, {""}}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LogEntryText(c.problem), c.expected);
}

TEST(ProblemTextTest, ABoxPutsTheFilesFirstAndLocatesTheCodesWarnings)
{
    const std::vector<Problem> problems = {
        {ProblemKind::FkissNoLabel, "K.CNF", 3, {"7"}},
        {ProblemKind::CannotOpenFile, "a.cel", 0, {"a.cel"}},
    };
    EXPECT_EQ(ProblemBox(problems), "ファイル a.cel を開けません。\nK.CNF:3: warning: no label 7");
    EXPECT_EQ(ProblemBox({problems.data(), 1}), "K.CNF:3: warning: no label 7");
}
