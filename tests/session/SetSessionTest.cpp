#include "session/SetSession.h"

#include "../scene/SceneFixtures.h"
#include "archive/ArchiveFileSource.h"
#include "support/ArchiveBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace
{

struct FakeClock : FkissClock
{
    std::int64_t NowMs() const override { return now; }
    std::int64_t now = 1000;
};

struct RecordingProblems : ProblemSink
{
    void Report(std::span<const Problem> problems) override
    {
        batches.emplace_back(problems.begin(), problems.end());
    }
    std::vector<std::vector<Problem>> batches;
};

/// A set (100 by 80 unless size says otherwise) in an archive held in memory: a palette, a.cel
/// (4 by 4) as object 1, and the lines given after them.
SetLayer Layer(std::initializer_list<std::string_view> lines, std::string_view size = "(100,80)")
{
    std::string config = std::string(size) + "\r\n%p.kcf\r\n#1 a.cel *0\r\n";
    for (std::string_view line : lines)
        config += std::string(line) + "\r\n";
    std::shared_ptr<const Archive> archive =
        Archive::FromBytes(ZipArchive({{"set/K.CNF", Bytes(config)},
                                       {"set/p.kcf", Palette24({{Rgb(0, 0, 0), Rgb(255, 0, 0)}})},
                                       {"set/a.cel", SolidCel(4, 4, 1)}},
                                      ZipMethod::Stored))
            .archive;
    return SetLayer{"/sets/TEST.ZIP", "set/K.CNF", archive,
                    std::make_shared<ArchiveFileSource>(archive, "set")};
}

class SetSessionTest : public testing::Test
{
protected:
    SetSession& Open(SetLayer layer, Presentation presentation = Presentation::Window)
    {
        session = std::make_unique<SetSession>(SetSession::Options{presentation, &clock},
                                               &problems, nullptr);
        session->Open(std::move(layer));
        opened = session->AfterOpen();
        return *session;
    }
    SessionUpdate TickAfter(std::int64_t ms)
    {
        clock.now += ms;
        return session->Tick();
    }
    Point ObjectAt() const { return session->GetScene().GetCelPosition(0); }

    FakeClock clock;
    RecordingProblems problems;
    std::unique_ptr<SetSession> session;
    SessionUpdate opened;
};

} // namespace

TEST_F(SetSessionTest, AnOpenReportsFilesThenCodeInOneBatchAndShowsTheWholeNewPicture)
{
    SetSession& set = Open(Layer({"#2 gone.cel *0", "$0 * 10,10 20,20", ";@EventHandler",
                                  ";@initialize() frob(1)"}));
    ASSERT_EQ(problems.batches.size(), 1u);
    const std::vector<Problem>& batch = problems.batches[0];
    ASSERT_EQ(batch.size(), 2u);
    EXPECT_EQ(batch[0], (Problem{ProblemKind::CannotOpenFile, "gone.cel", 0, {"gone.cel"}}));
    EXPECT_EQ(batch[1].kind, ProblemKind::FkissUnknownCommand);
    EXPECT_EQ(batch[1].file, "K.CNF");
    EXPECT_EQ(set.GetScene().Log().Entries(), batch);

    EXPECT_EQ(opened.repaint, SessionUpdate::Repaint::Reset);
    EXPECT_FALSE(opened.ticking);
    EXPECT_EQ(set.Screen().Width(), 100);
    EXPECT_EQ(set.Screen().Height(), 80);
    EXPECT_NE(set.Engine(), nullptr);

    // Without code there is no engine, and nothing to tick.
    problems.batches.clear();
    Open(Layer({"$0 * 10,10"}));
    EXPECT_EQ(session->Engine(), nullptr);
    EXPECT_TRUE(problems.batches.empty());
}

TEST_F(SetSessionTest, TimersRunOnTheClockAndTheTextsTheyShowComeBackOnce)
{
    SetSession& set = Open(Layer({"$0 * 10,10", ";@EventHandler", ";@initialize() timer(1, 100)",
                                  ";@alarm(1) notify(\"hi\") unmap(#1)"}));
    EXPECT_TRUE(opened.ticking);
    SessionUpdate early = TickAfter(50);
    EXPECT_TRUE(early.texts.empty());
    EXPECT_TRUE(early.ticking);

    const SessionUpdate due = TickAfter(50);
    EXPECT_EQ(due.texts, std::vector<std::string>{"hi"});
    EXPECT_EQ(due.repaint, SessionUpdate::Repaint::Dirty);
    EXPECT_FALSE(due.ticking);
    EXPECT_TRUE(TickAfter(10).texts.empty());
    const Problem& logged = set.GetScene().Log().Entries().back();
    EXPECT_EQ(logged.kind, ProblemKind::ScriptText);
    EXPECT_EQ(logged.args, std::vector<std::string>{"hi"});
}

TEST_F(SetSessionTest, AClosingSetPlaysEndsTimersForFiveSecondsAtMost)
{
    SetSession& set =
        Open(Layer({"$0 * 10,10", ";@EventHandler", ";@end() timer(1, 300)", ";@alarm(1) nop()"}));
    EXPECT_EQ(set.BeginClose(), CloseState::Waiting);
    EXPECT_FALSE(set.AfterCode().closed);
    EXPECT_TRUE(TickAfter(300).closed);
    EXPECT_EQ(set.Engine(), nullptr);

    // Asked again while it waits, it closes at once.
    Open(Layer({"$0 * 10,10", ";@EventHandler", ";@end() timer(1, 300)", ";@alarm(1) nop()"}));
    EXPECT_EQ(session->BeginClose(), CloseState::Waiting);
    EXPECT_EQ(session->BeginClose(), CloseState::Closed);
    EXPECT_EQ(session->Engine(), nullptr);

    // Timers that never end are cut off at the deadline.
    Open(Layer({"$0 * 10,10", ";@EventHandler", ";@end() timer(1, 300)",
                ";@alarm(1) timer(1, 300)"}));
    EXPECT_EQ(session->BeginClose(), CloseState::Waiting);
    EXPECT_FALSE(TickAfter(4800).closed);
    EXPECT_TRUE(TickAfter(300).closed);

    // A set without code closes at once.
    Open(Layer({"$0 * 10,10"}));
    EXPECT_EQ(session->BeginClose(), CloseState::Closed);
}

TEST_F(SetSessionTest, WhatTheCodeAsksOfAWindowReachesOnlyAWindow)
{
    const std::initializer_list<std::string_view> code = {
        "$0 * 10,10", ";@EventHandler", ";@initialize() timer(1, 10)",
                       ";@alarm(1) windowsize(200, 150) viewport(500, 7) quit()"};
    Open(Layer(code));
    SessionUpdate update = TickAfter(10);
    EXPECT_TRUE(update.closed);

    Open(Layer({"$0 * 10,10", ";@EventHandler", ";@initialize() timer(1, 10)",
                ";@alarm(1) windowsize(200, 150) viewport(500, 7)"}));
    update = TickAfter(10);
    EXPECT_EQ(update.repaint, SessionUpdate::Repaint::Refit);
    EXPECT_EQ(session->Screen().Width(), 200);
    EXPECT_EQ(update.scroll, (Point{200, 7})) << "a scroll stays inside the picture";

    Open(Layer(code), Presentation::Headless);
    update = TickAfter(10);
    EXPECT_FALSE(update.closed);
    EXPECT_FALSE(update.scroll);
    EXPECT_EQ(session->Screen().Width(), 100);
    EXPECT_NE(session->Engine(), nullptr);
}

TEST_F(SetSessionTest, AWindowShrinksAPlayFieldItCannotShowAndSaysSoOnce)
{
    SetSession& set = Open(Layer({"$0 * 10,10"}, "(40000,100)"));
    EXPECT_EQ(set.Screen().Width(), 32767);
    ASSERT_EQ(problems.batches.size(), 1u);
    EXPECT_EQ(problems.batches[0][0],
              (Problem{ProblemKind::PlayFieldClamped, {}, 0, {"40000,100", "32767,100"}}));
    set.Restore();
    EXPECT_EQ(problems.batches.size(), 1u);
}

TEST_F(SetSessionTest, ADragIsOneStepThatUndoTakesBackAndAClickIsNone)
{
    SetSession& set = Open(Layer({"$0 * 10,10"}));
    set.BeginDrag();
    set.Drag(0, 5, 3);
    SessionUpdate released = set.Release(0, Point{20, 20});
    ASSERT_TRUE(released.step);
    EXPECT_EQ(ObjectAt(), (Point{15, 13}));

    EXPECT_EQ(set.ApplyStep(*released.step, StepDirection::Undo).repaint,
              SessionUpdate::Repaint::Dirty);
    EXPECT_EQ(ObjectAt(), (Point{10, 10}));
    set.ApplyStep(*released.step, StepDirection::Redo);
    EXPECT_EQ(ObjectAt(), (Point{15, 13}));

    set.BeginDrag();
    EXPECT_FALSE(set.Release(0, Point{20, 20}).step);

    // Restore is a step when it moved something, and none when all stood as the file has it.
    const SessionUpdate restored = set.Restore();
    EXPECT_TRUE(restored.step);
    EXPECT_EQ(ObjectAt(), (Point{10, 10}));
    EXPECT_FALSE(set.Restore().step);
}

TEST_F(SetSessionTest, SavedFromAnArchiveTheSetBecomesTheFolderItWasSavedIn)
{
    TempDir dir;
    SetSession& set = Open(Layer({"$0 * 10,10"}));
    const std::string path = dir.File("K.CNF");
    ASSERT_EQ(set.Save(path), std::nullopt);
    set.SavedAs(path);
    EXPECT_EQ(set.Base().archive, nullptr);
    EXPECT_EQ(set.Base().path, path);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("a.cel")));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("p.kcf")));
    EXPECT_TRUE(set.Files()->Read("a.cel"));
    EXPECT_TRUE(problems.batches.empty());

    // An archive a layer reads from is never a place to save to.
    const std::string archive = dir.File("SET.ZIP");
    WriteFileBytes(archive, ZipArchive({{"K.CNF", Bytes("$0 *\r\n")}}));
    SetLayer layer = Layer({});
    layer.path = archive;
    set.Open(layer);
    EXPECT_TRUE(set.IsOpenArchive(archive));
    EXPECT_FALSE(set.IsOpenArchive(path));
}
