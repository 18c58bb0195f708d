#include "DemoDoll.h"

#include "Raster.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

namespace
{
// Every drawing is made in one frame, the doll's, so that clothes drawn there fit her when
// their object stands at her position; each cel is then cropped and keeps its place in the
// frame as its offset.
constexpr int kFrameWidth = 132;
constexpr int kFrameHeight = 312;
constexpr double kMid = kFrameWidth / 2.0;

// Colour numbers of BODY.KCF (4-bit cels).
enum : std::uint8_t
{
    kBackground,
    kSkin,
    kSkinShade,
    kSkinLine,
    kHair,
    kHairLight,
    kHairLine,
    kEyeDark,
    kWhite,
    kBlush,
    kMouth,
    kUnderwear,
    kUnderwearLine,
    kIris,
    kHairShade,
    kShadow,
};

// Colour numbers of CLOTH.KCF (8-bit cels).
enum : std::uint8_t
{
    kDress = 16,
    kDressShade,
    kDressLine,
    kTrim,
    kTrimLine,
    kBow,
    kDressLight,
    kShoe = 32,
    kShoeLight,
    kShoeLine,
    kSock,
    kSockLine,
    kStraw = 48,
    kStrawShade,
    kStrawLine,
    kBand,
    kBandLine,
    kFlower,
    kFlowerCentre,
    kFlowerLine,
    kCape = 64,
    kCapeLine,
    kCapePattern,
};

using Groups = std::vector<std::vector<Colour>>;

// One colour number in both colourings.
struct Swatch
{
    std::uint8_t index;
    Colour first;
    Colour second;
};

// Two groups of `count` colours; those no swatch names stay black.
Groups Colourings(std::size_t count, std::initializer_list<Swatch> swatches)
{
    Groups groups(2, std::vector<Colour>(count));
    for (const Swatch& s : swatches)
    {
        groups[0][s.index] = s.first;
        groups[1][s.index] = s.second;
    }
    return groups;
}

// Group 0 is fair with golden hair on pale blue; group 1 tanned with dark hair on pale rose.
// Colour 0 is the screen's background as well as the cels' transparent colour.
Groups BodyPalette()
{
    return Colourings(16, {{kBackground, {214, 232, 242}, {246, 226, 232}},
                           {kSkin, {255, 226, 204}, {222, 170, 128}},
                           {kSkinShade, {244, 194, 170}, {196, 140, 100}},
                           {kSkinLine, {176, 104, 88}, {120, 70, 48}},
                           {kHair, {232, 178, 84}, {64, 50, 60}},
                           {kHairLight, {250, 216, 136}, {116, 100, 116}},
                           {kHairLine, {140, 88, 40}, {24, 16, 24}},
                           {kEyeDark, {58, 40, 52}, {40, 26, 30}},
                           {kWhite, {255, 255, 255}, {255, 255, 255}},
                           {kBlush, {250, 170, 170}, {220, 120, 110}},
                           {kMouth, {214, 90, 100}, {170, 60, 70}},
                           {kUnderwear, {250, 248, 240}, {255, 236, 244}},
                           {kUnderwearLine, {180, 180, 200}, {210, 160, 180}},
                           {kIris, {70, 130, 200}, {120, 80, 50}},
                           {kHairShade, {204, 142, 62}, {44, 32, 44}},
                           {kShadow, {90, 110, 140}, {140, 100, 120}}});
}

// 256 colours per group, as 8-bit cels expect.
Groups ClothPalette()
{
    return Colourings(256, {{kDress, {68, 119, 204}, {204, 51, 68}},
                            {kDressShade, {51, 85, 170}, {170, 34, 51}},
                            {kDressLine, {34, 51, 102}, {102, 17, 34}},
                            {kTrim, {255, 255, 255}, {255, 238, 204}},
                            {kTrimLine, {136, 153, 187}, {187, 153, 119}},
                            {kBow, {255, 204, 51}, {255, 255, 255}},
                            {kDressLight, {119, 170, 238}, {238, 102, 119}},
                            {kShoe, {170, 34, 51}, {34, 34, 51}},
                            {kShoeLight, {238, 102, 119}, {102, 102, 136}},
                            {kShoeLine, {85, 17, 34}, {17, 17, 17}},
                            {kSock, {255, 255, 255}, {255, 221, 238}},
                            {kSockLine, {170, 170, 187}, {187, 153, 170}},
                            {kStraw, {238, 204, 136}, {68, 68, 85}},
                            {kStrawShade, {204, 170, 102}, {51, 51, 68}},
                            {kStrawLine, {153, 119, 68}, {17, 17, 34}},
                            {kBand, {68, 119, 204}, {204, 51, 68}},
                            {kBandLine, {34, 51, 102}, {102, 17, 34}},
                            {kFlower, {255, 136, 170}, {255, 255, 255}},
                            {kFlowerCentre, {255, 221, 68}, {255, 204, 0}},
                            {kFlowerLine, {204, 68, 119}, {170, 170, 170}},
                            {kCape, {221, 187, 255}, {255, 238, 170}},
                            {kCapeLine, {153, 119, 204}, {204, 170, 85}},
                            {kCapePattern, {255, 255, 255}, {255, 255, 255}}});
}

// A shape and its mirror image on the doll's other side.
Shape Both(const Shape& left)
{
    return Union({left, Mirror(left, kMid)});
}

Shape Torso()
{
    return Union({Polygon({{44, 122},
                           {88, 122},
                           {94, 132},
                           {88, 160},
                           {84, 178},
                           {90, 204},
                           {42, 204},
                           {48, 178},
                           {44, 160},
                           {38, 132}}),
                  Both(Ellipse(45, 131, 8, 9))});
}

Shape Arm()
{
    return Union({Capsule({41, 132}, {26, 168}, 7.5, 6), Capsule({26, 168}, {15, 203}, 6, 5),
                  Ellipse(13.5, 209, 6.5, 8)});
}

Shape Leg()
{
    return Union({Capsule({55, 198}, {53, 250}, 11.5, 8), Capsule({53, 250}, {54, 292}, 8, 6),
                  Ellipse(51, 297, 10, 5)});
}

Shape Head()
{
    return Ellipse(kMid, 74, 34, 38);
}

IndexedCanvas DrawBody()
{
    IndexedCanvas c(kFrameWidth, kFrameHeight);
    c.Part(Leg(), kSkin, kSkinLine);
    c.Part(Mirror(Leg(), kMid), kSkin, kSkinLine);
    c.Part(Torso(), kSkin, kSkinLine);
    c.Part(Intersect(Torso(), Box(0, 142, kFrameWidth, 180)), kUnderwear, kUnderwearLine);
    c.Part(Both(Capsule({52, 124}, {53, 142}, 1.5, 1.5)), kUnderwear, kUnderwearLine);
    c.Part(Intersect(Union({Torso(), Both(Leg())}),
                     Minus(Box(0, 186, kFrameWidth, 216),
                           Both(Polygon({{40, 216}, {56, 216}, {64, 222}, {40, 222}})))),
           kUnderwear, kUnderwearLine);
    c.Paint(Box(0, 192, kFrameWidth, 194), kUnderwearLine);
    c.Part(Box(58, 100, 74, 126), kSkin, kSkinLine);
    c.Paint(Ellipse(kMid, 108, 10, 6), kSkinShade);
    c.Part(Head(), kSkin, kSkinLine);
    c.Part(Arm(), kSkin, kSkinLine);
    c.Part(Mirror(Arm(), kMid), kSkin, kSkinLine);

    // The face.
    for (const double x : {52.0, 80.0})
    {
        c.Paint(Ellipse(x, 83, 6.5, 8.5), kWhite);
        c.Paint(Ellipse(x, 85, 5, 6.5), kIris);
        c.Paint(Ellipse(x, 86, 2.8, 3.6), kEyeDark);
        c.Paint(Ellipse(x - 1.8, 81.5, 1.8, 1.8), kWhite);
        c.Paint(Intersect(Minus(Ellipse(x, 83, 7.5, 9.5), Ellipse(x, 84.5, 7, 9)),
                          Box(0, 0, kFrameWidth, 82)),
                kEyeDark);
        c.Paint(Ellipse(x + (x < kMid ? -7 : 7), 95, 5.5, 3), kBlush);
    }
    c.Paint(Capsule({46, 70}, {57, 69}, 1, 1), kHairLine);
    c.Paint(Capsule({75, 69}, {86, 70}, 1, 1), kHairLine);
    c.Paint(Ellipse(kMid, 93, 1.3, 1), kSkinShade);
    c.Paint(Minus(Ellipse(kMid, 99, 5, 3.2), Ellipse(kMid, 97.5, 5.6, 3.2)), kMouth);
    return c;
}

IndexedCanvas DrawShadow()
{
    IndexedCanvas c(kFrameWidth, kFrameHeight);
    c.Part(Ellipse(kMid, 302, 50, 7), kShadow, kShadow);
    return c;
}

IndexedCanvas DrawHairBack()
{
    IndexedCanvas c(kFrameWidth, kFrameHeight);
    c.Part(Union({Ellipse(kMid, 70, 42, 44), Polygon({{25, 80}, {107, 80}, {111, 150}, {21, 150}}),
                  Both(Ellipse(31, 150, 10, 9))}),
           kHair, kHairLine);
    c.Paint(Box(36, 100, 96, 160), kHairShade);
    return c;
}

IndexedCanvas DrawHairFront()
{
    IndexedCanvas c(kFrameWidth, kFrameHeight);
    const Shape cap = Intersect(Ellipse(kMid, 70, 38, 41), Box(0, 0, kFrameWidth, 62));
    const Shape tufts =
        Union({Polygon({{30, 56}, {50, 56}, {38, 80}}), Polygon({{44, 56}, {66, 56}, {52, 76}}),
               Polygon({{58, 56}, {80, 56}, {70, 78}}), Polygon({{74, 56}, {96, 56}, {84, 74}}),
               Polygon({{88, 56}, {102, 56}, {96, 82}})});
    const Shape locks = Both(Capsule({32, 64}, {27, 120}, 7, 3.5));
    c.Part(Union({cap, tufts, locks}), kHair, kHairLine);
    c.Paint(Intersect(Minus(Ellipse(kMid, 60, 30, 22), Ellipse(kMid, 64, 30, 22)),
                      Box(0, 0, kFrameWidth, 52)),
            kHairLight);
    for (const double x : {50.0, 66.0, 80.0})
        c.Paint(Capsule({x, 46}, {x + (x - kMid) / 4, 66}, 0.7, 0.7), kHairShade);
    return c;
}

IndexedCanvas DrawDress()
{
    IndexedCanvas c(kFrameWidth, kFrameHeight);
    const Shape hem = Union({Ellipse(30, 246, 7, 5), Ellipse(42, 247, 7, 5), Ellipse(54, 247, 7, 5),
                             Ellipse(66, 247, 7, 5), Ellipse(78, 247, 7, 5), Ellipse(90, 247, 7, 5),
                             Ellipse(102, 246, 7, 5)});
    c.Part(Union({Polygon({{46, 172}, {86, 172}, {108, 246}, {24, 246}}), hem}), kDress,
           kDressLine);
    for (const double x : {52.0, 66.0, 80.0})
        c.Paint(Capsule({x, 186}, {kMid + (x - kMid) * 2.1, 244}, 1.1, 1.1), kDressShade);
    c.Paint(Union({Ellipse(36, 246, 5, 3), Ellipse(96, 246, 5, 3)}), kDressShade);

    c.Part(Union({Polygon({{42, 120},
                           {90, 120},
                           {96, 132},
                           {90, 160},
                           {86, 180},
                           {46, 180},
                           {42, 160},
                           {36, 132}}),
                  Both(Ellipse(45, 131, 9, 10))}),
           kDress, kDressLine);
    c.Paint(Both(Polygon({{46, 130}, {52, 130}, {50, 176}, {47, 176}})), kDressLight);
    c.Part(Box(45, 172, 87, 181), kDressShade, kDressLine);
    c.Part(Both(Ellipse(39, 135, 11, 10)), kDress, kDressLine);
    c.Paint(Both(Ellipse(36, 131, 5, 3.5)), kDressLight);
    c.Part(Minus(Union({Ellipse(57, 125, 10, 6.5), Ellipse(75, 125, 10, 6.5)}),
                 Ellipse(kMid, 118, 9, 7)),
           kTrim, kTrimLine);
    c.Part(Both(Polygon({{66, 132}, {56, 126}, {56, 138}})), kBow, kDressLine);
    c.Part(Ellipse(kMid, 132, 3, 3), kBow, kDressLine);
    return c;
}

IndexedCanvas DrawCape()
{
    IndexedCanvas c(kFrameWidth, kFrameHeight);
    Shape hem = Ellipse(kMid, 120, 43, 40);
    for (int i = 0; i < 9; ++i)
    {
        const double angle = 0.35 + i * (3.14159265 - 0.7) / 8;
        hem = Union({hem, Ellipse(kMid + 43 * std::cos(angle), 120 + 40 * std::sin(angle), 5, 5)});
    }
    c.Part(Minus(Intersect(hem, Box(0, 117, kFrameWidth, kFrameHeight)), Ellipse(kMid, 116, 9, 7)),
           kCape, kCapeLine);
    for (int row = 0; row < 3; ++row)
        for (int i = -3; i <= 3; ++i)
            c.Paint(Ellipse(kMid + i * 11 + (row % 2) * 5.5, 132 + row * 10, 1.6, 1.6),
                    kCapePattern);
    return c;
}

IndexedCanvas DrawShoes()
{
    IndexedCanvas c(kFrameWidth, kFrameHeight);
    for (int side = 0; side < 2; ++side)
    {
        const auto place = [&](const Shape& s) { return side ? Mirror(s, kMid) : s; };
        c.Part(place(Capsule({53.5, 262}, {54, 290}, 8.2, 6.8)), kSock, kSockLine);
        c.Paint(place(Box(44, 265, 64, 266)), kSockLine);
        c.Part(place(Union({Intersect(Ellipse(51, 297, 12, 7), Box(0, 291, kFrameWidth, 320)),
                            Capsule({44, 291}, {60, 291}, 1.6, 1.6)})),
               kShoe, kShoeLine);
        c.Paint(place(Ellipse(46, 296, 3, 1.6)), kShoeLight);
    }
    return c;
}

IndexedCanvas DrawHat()
{
    IndexedCanvas c(kFrameWidth, kFrameHeight);
    c.Part(Ellipse(kMid, 47, 55, 10.5), kStraw, kStrawLine);
    c.Paint(Minus(Ellipse(kMid, 47, 48, 8), Ellipse(kMid, 47, 46.5, 7)), kStrawShade);
    const Shape crown = Intersect(Ellipse(kMid, 42, 30, 29), Box(0, 0, kFrameWidth, 48));
    c.Part(crown, kStraw, kStrawLine);
    c.Paint(Intersect(crown, Box(0, 22, kFrameWidth, 23)), kStrawShade);
    c.Part(Intersect(crown, Box(0, 36, kFrameWidth, 48)), kBand, kBandLine);
    for (const Point petal :
         {Point{90, 34}, Point{96, 38}, Point{94, 45}, Point{86, 45}, Point{84, 38}})
        c.Part(Ellipse(petal.x, petal.y, 4.5, 4.5), kFlower, kFlowerLine);
    c.Part(Ellipse(90, 40, 3, 3), kFlowerCentre, kFlowerLine);
    return c;
}

TrueColourCanvas DrawGlasses()
{
    TrueColourCanvas c(kFrameWidth, kFrameHeight);
    for (const double x : {52.0, 80.0})
    {
        const Shape lens = Ellipse(x, 84, 8.8, 7.8);
        c.Fill(lens, {170, 220, 255, 80});
        c.Fill(Intersect(lens, Capsule({x - 6, 89}, {x + 2, 78}, 1.5, 1.5)), {255, 255, 255, 150});
        c.Fill(Minus(Ellipse(x, 84, 10.5, 9.5), lens), {150, 40, 70, 255});
    }
    c.Fill(Capsule({61.5, 82}, {70.5, 82}, 1.3, 1.3), {150, 40, 70, 255});
    c.Fill(Both(Capsule({41.6, 82}, {34, 79}, 1.2, 1.2)), {150, 40, 70, 255});
    return c;
}

// Clothes keep offset 0 and are placed by their positions alone; the cels of one object
// that has several keep their place in the doll's frame as offsets.
enum class Offset
{
    Zero,
    Frame
};

struct DrawnCel
{
    std::string name;
    Crop crop;
    Offset offset;
    std::vector<std::uint8_t> bytes;
};

CelPlacement PlacementOf(const Crop& crop, Offset offset, std::uint16_t transparency = 0)
{
    if (offset == Offset::Zero)
        return {0, 0, transparency};
    return {static_cast<std::uint16_t>(crop.left), static_cast<std::uint16_t>(crop.top),
            transparency};
}

DrawnCel Indexed(std::string name, const IndexedCanvas& canvas, int bitsPerPixel, Offset offset,
                 std::uint16_t transparency = 0)
{
    const std::vector<std::uint8_t> pixels = canvas.Pixels();
    const Crop crop =
        FindCrop(canvas.Width(), canvas.Height(), [&](std::size_t i) { return pixels[i] != 0; });
    const auto image = CropPixels(pixels, canvas.Width(), crop, 1);
    return {std::move(name), crop, offset,
            EncodeIndexedCel(image, crop.width, crop.height, bitsPerPixel,
                             PlacementOf(crop, offset, transparency))};
}

DrawnCel TrueColour(std::string name, const TrueColourCanvas& canvas, Offset offset)
{
    const auto& pixels = canvas.Pixels();
    const Crop crop = FindCrop(canvas.Width(), canvas.Height(),
                               [&](std::size_t i) { return pixels[4 * i + 3] != 0; });
    const auto image = CropPixels(pixels, canvas.Width(), crop, 4);
    return {std::move(name), crop, offset,
            EncodeTrueColourCel(image, crop.width, crop.height, PlacementOf(crop, offset))};
}

enum Object
{
    kDoll,
    kHairObject,
    kDressObject,
    kShoesObject,
    kHatObject,
    kGlassesObject,
    kCapeObject,
    kObjectCount
};

using Positions = std::array<Point, kObjectCount>;

std::string SetLine(int paletteGroup, const Positions& positions)
{
    std::string line = "$" + std::to_string(paletteGroup);
    for (const Point& p : positions)
    {
        // Set lines hold unsigned numbers, and 0,0 would mean "no position".
        if (p.x < 0 || p.y < 0 || (p.x == 0 && p.y == 0))
            throw std::logic_error("demo object placed off the screen");
        line += " " + std::to_string(static_cast<int>(p.x)) + "," +
                std::to_string(static_cast<int>(p.y));
    }
    return line;
}

// The object position that puts the top-left corner of a cel's image at `corner`.
Point Laid(const DrawnCel& cel, Point corner)
{
    const CelPlacement placement = PlacementOf(cel.crop, cel.offset);
    return {corner.x - placement.xOffset, corner.y - placement.yOffset};
}

// The object position that puts a cel where it was drawn in the frame of a doll at `doll`.
Point Worn(const DrawnCel& cel, Point doll)
{
    return Laid(cel, {doll.x + cel.crop.left, doll.y + cel.crop.top});
}

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}
} // namespace

std::vector<DemoFile> MakeDemoDoll()
{
    const std::vector<DrawnCel> cels{
        TrueColour("GLASSES.CEL", DrawGlasses(), Offset::Zero),
        Indexed("HAT.CEL", DrawHat(), 8, Offset::Zero),
        Indexed("HAIRF.CEL", DrawHairFront(), 4, Offset::Frame),
        Indexed("CAPE.CEL", DrawCape(), 8, Offset::Zero, 96),
        Indexed("DRESS.CEL", DrawDress(), 8, Offset::Zero),
        Indexed("SHOES.CEL", DrawShoes(), 8, Offset::Zero),
        Indexed("BODY.CEL", DrawBody(), 4, Offset::Frame),
        Indexed("HAIRB.CEL", DrawHairBack(), 4, Offset::Frame),
        Indexed("SHADOW.CEL", DrawShadow(), 4, Offset::Frame),
    };
    const auto cel = [&](const char* name) -> const DrawnCel&
    {
        for (const DrawnCel& c : cels)
            if (c.name == name)
                return c;
        throw std::logic_error("no such demo cel");
    };

    constexpr Point kCentre{158, 4};
    constexpr Point kAside{12, 4};
    Positions dressed;
    dressed.fill(kCentre);
    dressed[kDressObject] = Worn(cel("DRESS.CEL"), kCentre);
    dressed[kCapeObject] = Worn(cel("CAPE.CEL"), kCentre);
    dressed[kGlassesObject] = Worn(cel("GLASSES.CEL"), kCentre);
    dressed[kHatObject] = Worn(cel("HAT.CEL"), kCentre);
    dressed[kShoesObject] = Worn(cel("SHOES.CEL"), kCentre);
    Positions undressed;
    undressed.fill(kAside);
    undressed[kDressObject] = Laid(cel("DRESS.CEL"), {164, 24});
    undressed[kCapeObject] = Laid(cel("CAPE.CEL"), {266, 24});
    undressed[kGlassesObject] = Laid(cel("GLASSES.CEL"), {366, 40});
    undressed[kHatObject] = Laid(cel("HAT.CEL"), {300, 120});
    undressed[kShoesObject] = Laid(cel("SHOES.CEL"), {190, 200});

    const char* const crlf = "\r\n";
    std::string cnf;
    for (const char* line : {
             "; Velquin demo doll, drawn in code by make-demo-doll.",
             "; Set 0 dressed, set 1 undressed with her clothes laid out, set 2 in other colours.",
             "(448,320)",
             "%BODY.KCF ;skin and hair, two colourings",
             "%CLOTH.KCF ;clothes, two colourings",
             ";",
             "#5 GLASSES.CEL *0 :0 1 3 4 5 6 7 8 9 ;glasses with tinted lenses",
             "#4 HAT.CEL *1 ;straw hat",
             "#1.20 HAIRF.CEL *0 ;hair",
             "#6 CAPE.CEL *1 ;sheer capelet",
             "#2 DRESS.CEL *1 ;dress",
             "#3 SHOES.CEL *1 ;shoes and socks",
             "#0.30 BODY.CEL *0 ;doll",
             "#1 HAIRB.CEL *0 ;hair",
             "#0 SHADOW.CEL *0 ;shadow %t128",
             ";",
         })
        cnf += std::string(line) + crlf;
    cnf += SetLine(0, dressed) + crlf;
    cnf += SetLine(0, undressed) + crlf;
    cnf += SetLine(1, dressed) + crlf;
    cnf += SetLine(1, undressed) + crlf;
    for (int set = 4; set < 10; ++set)
        cnf += SetLine(0, dressed) + crlf;

    std::vector<DemoFile> files{{"DEMO.CNF", Bytes(cnf)},
                                {"BODY.KCF", EncodePalette(BodyPalette(), 24)},
                                {"CLOTH.KCF", EncodePalette(ClothPalette(), 12)}};
    for (const DrawnCel& c : cels)
        files.push_back({c.name, c.bytes});
    return files;
}
