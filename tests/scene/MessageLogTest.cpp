#include "scene/MessageLog.h"

#include "SceneFixtures.h"
#include "i18n/ProblemText.h"
#include "scene/Scene.h"
#include "support/ConfigText.h"

#include <gtest/gtest.h>

TEST(MessageLogTest, SceneLogsEveryLoadMessageWithItsFileAndEmptiesWithTheScene)
{
    FakeFileSource files;
    Scene scene;
    files.Add("bad.cel", "KiSS\x30 nothing that a cel loader accepts");
    std::string config = "#1 bad.cel\r\n";
    for (int i = 0; i < 12; ++i)
        config += "%p" + std::to_string(i) + ".kcf\r\n";
    scene.LoadSceneFromBytes(config, files);

    // The box stops at ten; the log keeps all thirteen, in load order.
    ASSERT_FALSE(scene.LoadProblems().empty());
    const auto& entries = scene.Log().Entries();
    ASSERT_EQ(entries.size(), 13u);
    EXPECT_EQ(entries[0].file, "p0.kcf");
    EXPECT_EQ(entries[0].line, 0);
    EXPECT_EQ(ProblemText(entries[0]), "ファイル p0.kcf を開けません。");
    EXPECT_EQ(entries[11].file, "p11.kcf");
    EXPECT_EQ(entries[12].file, "bad.cel");
    EXPECT_EQ(ProblemText(entries[12]), "ファイル bad.cel は，認識できないフォーマットです。");

    // Other producers add after the load's messages; each change is a new revision.
    const auto before = scene.Log().Revision();
    scene.AddMessage(Problem{ProblemKind::ScriptText, "KISS.CNF", 3, {"later"}});
    EXPECT_EQ(ProblemText(scene.Log().Entries().back()), "later");
    EXPECT_GT(scene.Log().Revision(), before);

    // The next load starts a new list.
    scene.LoadSceneFromBytes(ConfigText({"%q.kcf"}), files);
    ASSERT_EQ(scene.Log().Entries().size(), 1u);
    EXPECT_EQ(scene.Log().Entries()[0].file, "q.kcf");
    scene.ClearScene();
    EXPECT_TRUE(scene.Log().Entries().empty());
}
