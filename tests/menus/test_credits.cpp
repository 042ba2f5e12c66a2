// The credits: the classes of their lines, the rising column that starts
// again from the bottom, and the way back to the screen that opened them,
// which is not prepared again.
#include "datafiles/txtfile.h"
#include "menus/credits.h"
#include "menus_env.h"

namespace {

using app::Control;
using menus::TCredits;

TEST(CreditsText, MarksChooseTheTextClassAndAreNotShown)
{
    gui::CreateProgramTextClasses();
    TTxtFile file;
    file.txt = {"$Velmora", "#Made by", "the team", "", "$", "a # in the middle", " #not at the start"};
    const auto lines = TCredits::ReadCredits(file);
    const struct {
        const char* txt;
        int cls;
    } expected[] = {{"Velmora", 22}, {"Made by", 21}, {"the team", 20}, {"", 20},
                    {"", 22},        {"a # in the middle", 20}, {" #not at the start", 20}};
    ASSERT_EQ(lines.size(), std::size(expected));
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].txt, expected[i].txt);
        EXPECT_EQ(lines[i].cl, gui::TextClass(expected[i].cls));
    }
}

// A screen that counts its prepares.
class Opener : public app::TScreen {
public:
    void OnPrepare() override { ++prepares; }
    int prepares = 0;
};

class CreditsTest : public menustest::MenusEnv {
protected:
    void SetUp() override
    {
        MenusEnv::SetUp();
        menu = std::make_shared<Opener>();
        menu->Init(2, "MainMenu", 1);
        credits = std::make_shared<TCredits>();
        credits->Init(6, "Credits", 1);
        credits->Setup();
        app::Crosser()->Setup();
    }

    std::shared_ptr<Opener> menu;
    std::shared_ptr<TCredits> credits;
};

TEST_F(CreditsTest, ThePackCreditsRiseOneUnitAFrameAndStartAgainFromTheBottom)
{
    ASSERT_GT(credits->lista.size(), 10u) << "the pack's credits text";
    EXPECT_EQ(credits->lista.front().cl, gui::TextClass(22)) << "it opens with a title";
    Control::SetCurrScreen(credits);
    EXPECT_FLOAT_EQ(credits->y, 768);
    Frames(100);
    EXPECT_NEAR(credits->y, 668, 0.01);

    // Two short lines: once both have left the top, the column starts at 800.
    credits->lista.resize(2);
    platform::SetFont(nullptr);
    credits->lista[0].cl->SelectFont();
    const int h0 = platform::TextHeight();
    credits->lista[1].cl->SelectFont();
    const int height = h0 + 2 + platform::TextHeight() + 2;
    // Three frames while the last line is still in, one at the top edge.
    credits->y = -static_cast<float>(height) + 3;
    Frames(4);
    EXPECT_LT(credits->y, -height + 0.5f);
    Frame();
    EXPECT_NEAR(credits->y, 799, 0.01) << "back at the bottom, then one more unit up";
}

TEST_F(CreditsTest, AClickOrAKeyReturnsToTheOpenerWithoutPreparingIt)
{
    auto other = std::make_shared<Opener>();
    other->Init(4, "MapScreen", 1);
    struct Case {
        const char* what;
        std::shared_ptr<Opener> opener; // none: nobody set the return screen
        int key;                        // 0: a click
        int gameEnd;
    };
    const Case cases[] = {
        {"click, from the map", other, 0, 0},
        {"Escape, nobody set it", nullptr, platform::key::Escape, 0},
        {"Enter after the game's end", menu, platform::key::Enter, 1},
        {"Space", other, platform::key::Space, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        credits->ScreenToGo.reset();
        if (c.opener)
            credits->ScreenToGo = c.opener;
        credits->WasTheGameEnd = c.gameEnd;
        Control::SetCurrScreen(credits);
        const auto target = c.opener ? c.opener : menu;
        const int prepares = target->prepares;
        Frames(10);
        EXPECT_EQ(Control::CurrScreen(), credits) << "nothing leaves by itself";
        if (c.key) {
            platform::InjectKey(c.key, true);
            Frame();
            platform::InjectKey(c.key, false);
        } else {
            Click(500, 400);
        }
        Frames(120);
        EXPECT_EQ(Control::CurrScreen(), target);
        EXPECT_EQ(target->prepares, prepares) << "returned to as it was";
        EXPECT_EQ(credits->WasTheGameEnd, 0);
    }
}

} // namespace
