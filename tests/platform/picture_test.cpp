#include "platform/picture.h"

#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/headless/headless_backend.h"

namespace tallyfold::platform {
namespace {

constexpr PictureColour kRoles[] = {PictureColour::Text, PictureColour::Line, PictureColour::Known,
                                    PictureColour::Unknown, PictureColour::Over};

TEST(Picture, EveryRoleStandsOutFromLightAndDarkBackgrounds) {
    const PictureColours light{{0x10, 0x10, 0x10}, {0xFF, 0xFF, 0xFF}, {0x30, 0x8C, 0xC6}};
    const PictureColours dark{{0xE6, 0xE6, 0xE6}, {0x1E, 0x1E, 0x20}, {0x2A, 0x82, 0xDA}};
    for (const PictureColours& palette : {light, dark}) {
        for (const PictureColour role : kRoles) {
            // A bar or a line is no text: 3 to 1 is the guideline for graphics.
            EXPECT_GE(ContrastOf(ColourOf(role, 100, palette), palette.background), 3.0)
                << static_cast<int>(role) << (IsDark(palette.background) ? " dark" : " light");
        }
        EXPECT_EQ(ColourOf(PictureColour::Background, 100, palette), palette.background);
        EXPECT_EQ(ColourOf(PictureColour::Accent, 0, palette), palette.background)
            << "no strength is the background itself";
        EXPECT_EQ(ColourOf(PictureColour::Accent, 100, palette), palette.highlight);
    }
    // Shades between lie between, in order: a calendar's days grow darker with more verdicts.
    const MarkColour half = ColourOf(PictureColour::Accent, 50, light);
    EXPECT_GT(ContrastOf(half, light.background), 1.2);
    EXPECT_LT(ContrastOf(half, light.background), ContrastOf(light.highlight, light.background));
}

class Drawing : public Window {
  public:
    explicit Drawing(Backend& backend) : Window(backend) {
        AddControl({7, ControlKind::Picture, "", {10, 10, 200, 100}, 0});
    }
};

TEST(Picture, TheHeadlessBackendKeepsTheShapesAsGiven) {
    headless::HeadlessWindowPeer peer;
    headless::HeadlessBackend backend;
    Drawing drawing(backend);
    drawing.AttachPeer(&peer);
    for (const ControlTemplate& control : drawing.OwnControls()) {
        peer.AddControl(control);
    }
    const PictureBox box(drawing, 7);
    EXPECT_EQ(box.Size(), (Rect{10, 10, 200, 100}));
    PictureText label;
    label.rect = {0, 30, 20, 20};
    label.text = "12";
    label.align = PictureAlign::Center;
    Picture picture{200, 100, {}};
    picture.shapes.emplace_back(PictureRectangle{{0, 50, 20, 50}, PictureColour::Known});
    picture.shapes.emplace_back(PictureLine{0, 99, 199, 99});
    picture.shapes.emplace_back(label);
    box.SetPicture(picture);
    box.SetAccessibleName("Cards in each partition");
    EXPECT_EQ(peer.Find(7)->picture, picture);
    EXPECT_EQ(peer.Find(7)->accessibleName, "Cards in each partition");
    drawing.AttachPeer(nullptr);
}

}  // namespace
}  // namespace tallyfold::platform
