#include "scene/MessageLog.h"

#include "SceneFixtures.h"
#include "scene/Scene.h"
#include "support/ConfigText.h"

#include <gtest/gtest.h>

TEST(MessageLogTest, EntriesFormatWithWhatTheyHave)
{
    struct Case
    {
        MessageEntry entry;
        const char* expected;
    };
    const Case cases[] = {
        {{"A.CEL", 0, "gone"}, "A.CEL: gone"},
        {{"KISS.CNF", 12, "bad"}, "KISS.CNF(12): bad"},
        {{"", 7, "no file"}, "no file"},
        {{"", 0, ""}, ""},
    };
    MessageLog log;
    std::string all;
    for (const Case& c : cases)
    {
        EXPECT_EQ(MessageLog::FormatEntry(c.entry), c.expected);
        log.Add(c.entry.file, c.entry.line, c.entry.text);
        all += std::string(c.expected) + "\n";
    }
    EXPECT_EQ(log.AsText(), all);
}

TEST(MessageLogTest, SceneLogsEveryLoadMessageWithItsFileAndEmptiesWithTheScene)
{
    FakeFileSource files;
    RecordingSink sink;
    Scene scene;
    scene.SetMessageSink(&sink);
    files.Add("bad.cel", "KiSS\x30 nothing that a cel loader accepts");
    std::string config = "#1 bad.cel\r\n";
    for (int i = 0; i < 12; ++i)
        config += "%p" + std::to_string(i) + ".kcf\r\n";
    scene.LoadSceneFromBytes(config, files);

    // The box stops at ten; the log keeps all thirteen, in load order.
    ASSERT_EQ(sink.shown.size(), 1u);
    const auto& entries = scene.Log().Entries();
    ASSERT_EQ(entries.size(), 13u);
    EXPECT_EQ(entries[0].file, "p0.kcf");
    EXPECT_EQ(entries[0].line, 0);
    EXPECT_EQ(entries[0].text, "ファイル p0.kcf を開けません。");
    EXPECT_EQ(entries[11].file, "p11.kcf");
    EXPECT_EQ(entries[12].file, "bad.cel");
    EXPECT_EQ(entries[12].text, "ファイル bad.cel は，認識できないフォーマットです。");

    // Other producers add after the load's messages; each change is a new revision.
    const auto before = scene.Log().Revision();
    scene.AddMessage("KISS.CNF", 3, "later");
    EXPECT_EQ(scene.Log().Entries().back().text, "later");
    EXPECT_GT(scene.Log().Revision(), before);

    // The next load starts a new list.
    scene.LoadSceneFromBytes(ConfigText({"%q.kcf"}), files);
    ASSERT_EQ(scene.Log().Entries().size(), 1u);
    EXPECT_EQ(scene.Log().Entries()[0].file, "q.kcf");
    scene.ClearScene();
    EXPECT_TRUE(scene.Log().Entries().empty());
}
