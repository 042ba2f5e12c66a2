// GUI definition files: the widget tree a file builds, the entries each block
// reads, the merge with objects made in code and the paths written in files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/paths.h"
#include "app/platform/platform.h"
#include "app/screen.h"
#include "gui/textclasses.h"
#include "datafiles/blockfile.h"
#include "datafiles/txtfile.h"
#include "gui/fonts.h"
#include "gui/guifile.h"
#include "gui/widgets.h"
#include "support/headless.h"

namespace {

const std::string kFixtureDir = "tests/fixtures/gui/guifile/";

// A screen with a text file.
class TextScreen : public app::TScreen {
public:
    TextScreen() { TxtFile = LoadTxtFile(kFixtureDir + "Texts.txt"); }
};

class GuiFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(64, 64);
        app::SetGameDir("Game/");
        gui::CreateProgramTextClasses();
    }
    static void TearDownTestSuite()
    {
        gui::ClearFontCache();
        platform::Shutdown();
    }
    void SetUp() override
    {
        platform::SetLogSink([this](const std::string& line) { log_.push_back(line); });
    }
    void TearDown() override
    {
        platform::SetLogSink({});
        app::SetGameDir("Game/");
    }

    // Builds block-file text under `parent`.
    static void Build(const std::string& text, app::TAppObj& parent)
    {
        const PBlockFile root = ParseBlockText(text, "TEST");
        gui::BuildGuiObjects(*root, parent);
    }

    std::vector<std::string> log_;
};

template <class T>
T* As(const app::TAppObjPtr& obj)
{
    return dynamic_cast<T*>(obj.get());
}

TEST_F(GuiFile, FixtureBuildsTheExpectedTree)
{
    TextScreen screen;
    ASSERT_TRUE(gui::LoadGuiFile(kFixtureDir + "Objects.txt", screen));

    // The exact type of every object, in tree order, as "type name" with
    // children indented; BUTTON and everything inside it are missing.
    std::string shape;
    auto walk = [&shape](auto&& self, const app::TAppObj& obj, const std::string& indent) -> void {
        const char* type = dynamic_cast<const gui::TUITextButton*>(&obj)    ? "TEXTBUTTON"
                           : dynamic_cast<const gui::TUIText*>(&obj)        ? "TEXT"
                           : dynamic_cast<const gui::TUILightButton*>(&obj) ? "LIGHTBUTTON"
                           : dynamic_cast<const gui::TUIImage*>(&obj)       ? "IMAGE"
                                                                            : "OBJECT";
        shape += indent + type + " " + obj.Name + "\n";
        for (const auto& child : obj.Objects)
            self(self, *child, indent + "  ");
    };
    for (const auto& obj : screen.Objects)
        walk(walk, *obj, "");
    EXPECT_EQ(shape, "OBJECT Panel\n"
                     "  IMAGE Pic\n"
                     "  IMAGE Stretched\n"
                     "  IMAGE HeightIgnored\n"
                     "LIGHTBUTTON Glow\n"
                     "  TEXT Label\n"
                     "TEXT Numbered\n"
                     "TEXTBUTTON Go\n");

    screen.Calculate();
    struct Expect {
        const char* name;
        int id;
        float absX, absY; // after Calculate
        int w, h;
    } const expected[] = {
        {"Panel", 7, 100, 50, -1, -1},
        {"Pic", 0, 110, 55, 30, 20},         // size of the picture
        {"Stretched", 0, 100, 90, 60, 10},   // the size the file gives
        {"HeightIgnored", 0, 100, 50, 30, 20}, // Width 0: both from the picture
        {"Glow", 3, 300, 200, 30, 20},
        {"Label", 0, 302, 203, -1, -1},
        {"Numbered", 0, 0, 0, 200, 40},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.name);
        const app::TAppObjPtr obj = screen.FindObject(e.name);
        ASSERT_TRUE(obj);
        EXPECT_EQ(obj->Id, e.id);
        EXPECT_FLOAT_EQ(obj->x, e.absX);
        EXPECT_FLOAT_EQ(obj->y, e.absY);
        if (e.w >= 0) {
            auto* ui = As<gui::TGameUI>(obj);
            ASSERT_TRUE(ui);
            EXPECT_EQ(ui->w, e.w);
            EXPECT_EQ(ui->h, e.h);
        }
    }
    EXPECT_TRUE(log_.empty()) << log_.front();
}

TEST_F(GuiFile, PicturesKeepTheirSourceAndRectangle)
{
    TextScreen screen;
    ASSERT_TRUE(gui::LoadGuiFile(kFixtureDir + "Objects.txt", screen));
    auto* pic = As<gui::TUIImage>(screen.FindObject("Pic"));
    auto* stretched = As<gui::TUIImage>(screen.FindObject("Stretched"));
    ASSERT_TRUE(pic && stretched && pic->obj && stretched->obj);
    // Drawn whole: the destination is the picture's size.
    EXPECT_FLOAT_EQ(pic->RectW, 30);
    EXPECT_FLOAT_EQ(pic->RectH, 20);
    // A size of its own stretches the whole picture into it.
    EXPECT_FLOAT_EQ(stretched->RectW, 60);
    EXPECT_FLOAT_EQ(stretched->RectH, 10);
    EXPECT_FLOAT_EQ(stretched->RectSW, 30);
    EXPECT_FLOAT_EQ(stretched->RectSH, 20);
    // The rest position is where the file put it.
    EXPECT_FLOAT_EQ(stretched->StandardY, 40);
    EXPECT_FALSE(pic->isAvailableForClicking);
}

TEST_F(GuiFile, ButtonsFromAFileDrawAndReact)
{
    TextScreen screen;
    ASSERT_TRUE(gui::LoadGuiFile(kFixtureDir + "Objects.txt", screen));

    auto* glow = As<gui::TUILightButton>(screen.FindObject("Glow"));
    ASSERT_TRUE(glow);
    EXPECT_TRUE(glow->isAvailableForClicking);
    EXPECT_FLOAT_EQ(glow->LightPower, 0.8f);
    EXPECT_TRUE(glow->obj);

    auto* go = As<gui::TUITextButton>(screen.FindObject("Go"));
    ASSERT_TRUE(go);
    EXPECT_TRUE(go->isAvailableForClicking);
    EXPECT_EQ(go->Text, "Go on");
    EXPECT_EQ(go->Align, 1);
    // Set 2 of the program-wide button classes, copied state by state.
    const gui::TextButtonClasses& set2 = gui::TextButtonClassSet(2);
    for (size_t s = 0; s < 4; ++s) {
        ASSERT_TRUE(go->Class[s]);
        EXPECT_NE(go->Class[s], set2[s]) << "a copy, not the shared class";
        EXPECT_EQ(go->Class[s]->Font, set2[s]->Font) << s;
        ASSERT_TRUE(go->Class[s]->Color);
        EXPECT_EQ(go->Class[s]->Color->g, set2[s]->Color->g) << s;
    }
    // Without a size the box fits the text, so the button can be hit.
    EXPECT_GT(go->w, 0);
    EXPECT_EQ(go->h, go->TxtHeight[0]);
    EXPECT_GT(go->h, 0);

    // A caption without "Class" gets text class 1 and a box fitting its text.
    auto* label = As<gui::TUIText>(screen.FindObject("Label"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Text, "Hello");
    EXPECT_EQ(label->Class[0]->Font, gui::TextClass(1)->Font);
    EXPECT_EQ(label->TextObject[0].lines, 1);
    EXPECT_GT(label->w, 0);
    EXPECT_FALSE(label->isAvailableForClicking);
}

TEST_F(GuiFile, LineEntriesReadTheScreensTextFile)
{
    struct Case {
        const char* line;
        bool underScreen;
        const char* text;
    } const cases[] = {
        {"2", true, "second line"},
        {"2", false, "2"},        // no screen: the value itself
        {"0", true, "0"},         // 0 is not a line number
        {"\"Hi there\"", true, "Hi there"},
        {"9", true, ""},          // beyond the file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line) + (c.underScreen ? " under a screen" : " alone"));
        TextScreen screen;
        app::TAppObj plain;
        app::TAppObj& parent = c.underScreen ? static_cast<app::TAppObj&>(screen) : plain;
        Build("TEXT {\n Line = " + std::string(c.line) + "\n}\n", parent);
        ASSERT_EQ(parent.Objects.size(), 1u);
        EXPECT_EQ(As<gui::TUIText>(parent.Objects[0])->Text, c.text);
    }

    // A screen without a text file gives the empty text and says so.
    app::TScreen bare;
    bare.Name = "Bare";
    Build("TEXT {\n Line = 4\n}\n", bare);
    EXPECT_EQ(As<gui::TUIText>(bare.Objects.at(0))->Text, "");
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_NE(log_[0].find("Bare"), std::string::npos) << log_[0];
}

TEST_F(GuiFile, FileObjectsFollowObjectsMadeInCode)
{
    TextScreen screen;
    app::CreateAppObj("code1", 0, 0, &screen);
    app::CreateAppObj("code2", 0, 0, &screen);
    Build("OBJECT {\n Name = \"file1\"\n}\nUNKNOWN {\n Name = \"x\"\n}\nobject {\n Name = \"file2\"\n}\n", screen);
    std::vector<std::string> names;
    for (const auto& obj : screen.Objects)
        names.push_back(obj->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"code1", "code2", "file1", "file2"}));
    for (const auto& obj : screen.Objects)
        EXPECT_EQ(obj->Parent, &screen);
}

TEST_F(GuiFile, MissingPicturesAndUnknownClassesAreNamedOnce)
{
    app::TAppObj parent;
    Build("IMAGE {\n Name = \"Lost\"\n Url = \"nowhere/lost.png\"\n}\n"
          "IMAGE {\n Name = \"Sized\"\n Url = \"nowhere/lost.png\"\n Width = 40\n Height = 30\n}\n"
          "TEXT {\n Name = \"Odd\"\n Line = \"x\"\n Class = 99\n}\n",
          parent);
    auto* lost = As<gui::TUIImage>(parent.FindObject("Lost"));
    auto* sized = As<gui::TUIImage>(parent.FindObject("Sized"));
    auto* odd = As<gui::TUIText>(parent.FindObject("Odd"));
    ASSERT_TRUE(lost && sized && odd);
    EXPECT_FALSE(lost->obj);
    EXPECT_EQ(lost->w, 0);
    EXPECT_EQ(lost->h, 0);
    EXPECT_FALSE(sized->obj);
    EXPECT_EQ(sized->w, 40);
    EXPECT_EQ(sized->h, 30);
    // The odd class falls back to a plain white class that still draws.
    ASSERT_TRUE(odd->Class[0]->Color);
    EXPECT_EQ(odd->Class[0]->Color->r, 255);

    ASSERT_EQ(log_.size(), 3u);
    EXPECT_NE(log_[0].find("IMAGE 'Lost'"), std::string::npos) << log_[0];
    EXPECT_NE(log_[0].find("nowhere/lost.png"), std::string::npos) << log_[0];
    EXPECT_NE(log_[1].find("IMAGE 'Sized'"), std::string::npos) << log_[1];
    EXPECT_NE(log_[2].find("99"), std::string::npos) << log_[2];
}

TEST_F(GuiFile, PathsWrittenInFiles)
{
    struct Case {
        const char* gameDir;
        const char* written;
        const char* path;
    } const cases[] = {
        {"Game/", "[BDIR]gfx/a.png", "Game/gfx/a.png"},
        {"Game/", "[LANG]Local/English/gfx/b.png", "Game/Local/English/gfx/b.png"},
        {"Game/", "Game\\gfx\\c.png", "Game/gfx/c.png"},
        {"/tmp/pack", "Game/gfx/d.png", "/tmp/pack/gfx/d.png"},
        {"/tmp/pack", "game/gfx/e.png", "/tmp/pack/gfx/e.png"},
        {"/tmp/pack", "[BDIR]gfx/f.png", "/tmp/pack/gfx/f.png"},
        {"/tmp/pack", "other/g.png", "other/g.png"},
    };
    for (const Case& c : cases) {
        app::SetGameDir(c.gameDir);
        EXPECT_EQ(gui::GuiFilePath(c.written), c.path) << c.written << " in " << c.gameDir;
    }
    app::SetGameDir("/tmp/pack");
    app::SetLanguageFolder("English");
    EXPECT_EQ(gui::ScreenObjectsPath("MainMenu"), "/tmp/pack/Local/English/Data/MainMenu/Objects.txt");
}

TEST_F(GuiFile, ScreensWithoutAFileOrNameGetNothing)
{
    TextScreen screen;
    EXPECT_FALSE(gui::LoadScreenObjects(screen, ""));
    EXPECT_FALSE(gui::LoadScreenObjects(screen, "NoSuchScreen"));
    EXPECT_FALSE(gui::LoadGuiFile(kFixtureDir + "Missing.txt", screen));
    EXPECT_TRUE(screen.Objects.empty());
    EXPECT_TRUE(log_.empty());
}

} // namespace
