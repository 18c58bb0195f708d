#include "config/ConfigFile.h"

#include "support/ConfigText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace
{

class ConfigRealSetsTest : public testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        const std::filesystem::path path =
            std::filesystem::path(VELQUIN_KISS_SETS_DIR) / GetParam();
        if (!std::filesystem::exists(path))
            GTEST_SKIP() << "real sets not present: " << path;
        std::ifstream in(path, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string m_bytes;
};

std::string WrittenAll(const ConfigFile& file)
{
    std::ostringstream out;
    file.WriteAll(out);
    return out.str();
}

} // namespace

TEST_P(ConfigRealSetsTest, WritesBackEveryLineUnchanged)
{
    const ConfigFile file(m_bytes);
    EXPECT_FALSE(file.CelLines().empty());
    EXPECT_FALSE(file.SetLines().empty());
    EXPECT_EQ(WithLfEnds(WrittenAll(file)), WithLfEnds(m_bytes));
}

TEST_P(ConfigRealSetsTest, MovedPositionsReadBackAfterASave)
{
    ConfigFile file(m_bytes);
    std::vector<std::unique_ptr<SetLine>> sets;
    for (const SetLine* line : file.SetLines())
        sets.push_back(std::make_unique<SetLine>(*line));
    while (sets.size() < 10)
        sets.push_back(std::make_unique<SetLine>("$0 *"));
    for (std::size_t n = 0; n < sets.size(); ++n)
    {
        SetLine& set = *sets[n];
        const auto positions = set.Positions();
        for (const auto& [object, position] : positions)
            set.SetPosition(object, position.x + 7 - static_cast<int>(n), position.y - 300);
        set.SetPosition(40 + static_cast<int>(n), -5, 12);
        set.SetPaletteGroup(static_cast<std::int32_t>(9 - n));
    }
    file.MergeSetLines(sets);

    const ConfigFile back(WrittenAll(file));
    ASSERT_EQ(back.SetLines().size(), sets.size());
    for (std::size_t n = 0; n < sets.size(); ++n)
    {
        EXPECT_EQ(back.SetLines()[n]->Positions(), sets[n]->Positions()) << "set " << n;
        EXPECT_EQ(back.SetLines()[n]->PaletteGroup(), sets[n]->PaletteGroup()) << "set " << n;
    }
    ASSERT_EQ(back.CelLines().size(), file.CelLines().size());
    for (std::size_t i = 0; i < back.CelLines().size(); ++i)
        EXPECT_EQ(back.CelLines()[i]->LineText(), file.CelLines()[i]->LineText());
}

INSTANTIATE_TEST_SUITE_P(RealSets, ConfigRealSetsTest,
                         testing::Values("lina/lina.cnf", "lucca1r/lucca.cnf", "sk_kimux/kiss.cnf"),
                         [](const testing::TestParamInfo<const char*>& info)
                         {
                             const std::string path = info.param;
                             std::string name = path.substr(0, path.find('/'));
                             std::erase(name, '_');
                             return name;
                         });
