#include "SessionFixtures.h"

#include "support/CelBytes.h"
#include "support/ConfigText.h"
#include "support/PaletteBytes.h"

#include <vector>

namespace
{
std::vector<std::uint8_t> Filled(int width, int height, std::uint8_t number)
{
    return std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), number);
}
} // namespace

SmallSet::SmallSet(const std::vector<std::string>& code, const std::string& extraCel)
{
    folder.Write("P.KCF", PaletteBytes()
                              .Group({PaletteColour{255, 255, 255}, PaletteColour{255, 0, 0},
                                      PaletteColour{0, 255, 0}})
                              .Bytes());
    folder.Write("A.CEL", CelBytes::Indexed(8, 8, Filled(8, 8, 1)).Bytes());
    folder.Write("B.CEL", CelBytes::Indexed(6, 6, Filled(6, 6, 2)).Bytes());
    std::string text = ConfigText({"(40,30)", "%P.KCF", "#1 A.CEL *0", "#2 B.CEL *0"});
    if (!extraCel.empty())
        text += ConfigText({"#3 " + extraCel + " *0"});
    text += ConfigText({"$0 * 2,2 20,10"});
    if (!code.empty())
        text += ConfigText({";@EventHandler"});
    for (const std::string& line : code)
        text += ConfigText({";@" + line});
    configPath = folder.Write("SMALL.CNF", text);
}
