// App object trees: absolute placement, traversal order, enabling, finding,
// tree editing, lifetime and loading from GUI definition blocks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/appobj.h"
#include "app/platform/draw.h"
#include "datafiles/blockfile.h"

namespace {

using app::CreateAppObj;
using app::TAppObj;
using app::TAppObjPtr;

// Records every event it sees into a shared log as "<event>:<name>".
class TRecorder : public TAppObj {
public:
    explicit TRecorder(std::vector<std::string>* log) : log_(log) {}
    void OnCountSettings() override { Note("count"); }
    void UpdateObjectType() override
    {
        Note("type");
        xAtType = x;
    }
    void OnUpdate() override
    {
        Note("update");
        xAtUpdate = x;
    }
    void OnDraw() override
    {
        Note("draw");
        drawnAlpha = platform::GetAlpha();
        drawnBlend = platform::GetBlend();
        drawnRotation = platform::GetRotation();
        drawnScaleX = platform::ScaleX();
        drawnRed = platform::ColorRed();
    }
    void OnDrawEnd() override { Note("end"); }
    void OnEnable() override { Note("enable"); }
    void OnDisable() override { Note("disable"); }
    void ClearButtons() override
    {
        Note("clear");
        TAppObj::ClearButtons();
    }

    float xAtType = -1, xAtUpdate = -1;
    float drawnAlpha = -1, drawnRotation = -1, drawnScaleX = -1;
    int drawnBlend = -1, drawnRed = -1;

private:
    void Note(const char* what) { log_->push_back(std::string(what) + ":" + Name); }
    std::vector<std::string>* log_;
};

std::shared_ptr<TRecorder> AddRecorder(std::vector<std::string>& log, const std::string& name, TAppObj* parent)
{
    auto obj = std::make_shared<TRecorder>(&log);
    obj->Name = name;
    if (parent)
        parent->AddObject(obj, 1);
    return obj;
}

std::vector<std::string> Only(const std::vector<std::string>& log, const std::string& event)
{
    std::vector<std::string> out;
    for (const std::string& line : log) {
        if (line.rfind(event + ":", 0) == 0)
            out.push_back(line.substr(event.size() + 1));
    }
    return out;
}

// ---- Placement ----

TEST(AppObjPlacement, OneLevelTable)
{
    struct Case {
        const char* what;
        float px, py, prot, psx, psy; // parent
        float cx, cy;                 // child's local position
        float x, y;                   // expected absolute position
    } cases[] = {
        {"plain offset", 5, 7, 0, 1, 1, 3, 4, 8, 11},
        {"rotated 90 then scaled", 100, 50, 90, 2, 1, 10, 0, 100, 60},
        {"half turn", 0, 0, 180, 1, 1, 10, 0, -10, 0},
        {"quarter back, y scaled", 1, 1, -90, 1, 2, 0, 10, 11, 1},
        {"scale per axis", 0, 0, 0, 2, 3, 1, 1, 2, 3},
        {"origin child", 40, 30, 33, 5, 5, 0, 0, 40, 30},
    };
    for (const Case& c : cases) {
        auto parent = CreateAppObj("p", c.px, c.py);
        parent->SetRot(c.prot);
        parent->SetS(c.psx, c.psy);
        auto child = CreateAppObj("c", c.cx, c.cy, parent.get());
        parent->Calculate();
        EXPECT_NEAR(child->x, c.x, 1e-4f) << c.what;
        EXPECT_NEAR(child->y, c.y, 1e-4f) << c.what;
        EXPECT_FLOAT_EQ(child->Rotation, c.prot) << c.what;
        EXPECT_FLOAT_EQ(child->ScaleX, c.psx) << c.what;
        EXPECT_FLOAT_EQ(child->ScaleY, c.psy) << c.what;
    }
}

TEST(AppObjPlacement, TwoLevelsComposeRotationScaleAndAlpha)
{
    auto root = CreateAppObj("root", 100, 50);
    root->SetRot(90);
    root->SetS(2, 1);
    root->SetA(0.5f);
    root->SetRGB(10, 20, 30);
    auto child = CreateAppObj("child", 10, 0, root.get());
    child->SetS(1, 3);
    child->SetA(0.5f);
    child->SetRGB(200, 100, 50);
    auto grand = CreateAppObj("grand", 0, 5, child.get());
    grand->SetRot(45);
    grand->SetA(0.5f);

    root->Update(); // the update pass computes the same placement as Calculate

    EXPECT_NEAR(child->x, 100, 1e-4f);
    EXPECT_NEAR(child->y, 60, 1e-4f);
    EXPECT_FLOAT_EQ(child->ScaleY, 3);
    EXPECT_FLOAT_EQ(child->Alpha, 0.25f);
    EXPECT_EQ(child->Red, 200); // own colour, not the parent's

    // (0, 5) turned by 90 gives (-5, 0), then scaled by the child's (2, 3).
    EXPECT_NEAR(grand->x, 90, 1e-4f);
    EXPECT_NEAR(grand->y, 60, 1e-4f);
    EXPECT_FLOAT_EQ(grand->Rotation, 135);
    EXPECT_FLOAT_EQ(grand->ScaleX, 2);
    EXPECT_FLOAT_EQ(grand->ScaleY, 3);
    EXPECT_FLOAT_EQ(grand->Alpha, 0.125f);
    EXPECT_EQ(grand->Red, 255); // colour does not tint children
    EXPECT_EQ(grand->Green, 255);
}

TEST(AppObjPlacement, SettersAndCountRotated)
{
    TAppObj obj;
    obj.SetStateData(1, 2, 3, 4, 5, 99, 6, 7, 8, 0.5f);
    EXPECT_EQ(obj.GetX(), 1);
    EXPECT_EQ(obj.GetY(), 2);
    EXPECT_EQ(obj.TFR.sx, 3);
    EXPECT_EQ(obj.TFR.sy, 4);
    EXPECT_EQ(obj.TFR.Rotation, 5);
    EXPECT_EQ(obj.Rgb.b, 8);
    EXPECT_EQ(obj.GetA(), 0.5f);

    obj.SetDim(CreateDim(9, 10, 11, 12));
    obj.SetTFR(CreateTFR(2, 2, 30, 0.5f));
    EXPECT_EQ(obj.GetX(), 9);
    EXPECT_EQ(obj.Dim.w, 0); // only the position is taken
    EXPECT_EQ(obj.TFR.Rotation, 30);
    EXPECT_EQ(obj.TFR.Position, 0);

    EXPECT_NEAR(obj.CountRotatedX(3, 4, 0), 3, 1e-5f);
    EXPECT_NEAR(obj.CountRotatedY(0), 4, 1e-5f);
    EXPECT_NEAR(obj.CountRotatedX(0, 2, 90), -2, 1e-5f);
    EXPECT_NEAR(obj.CountRotatedY(90), 0, 1e-5f);
}

// ---- Traversal ----

TEST(AppObjTraversal, UpdateAndDrawOrder)
{
    std::vector<std::string> log;
    auto root = AddRecorder(log, "root", nullptr);
    auto a = AddRecorder(log, "a", root.get());
    AddRecorder(log, "a1", a.get());
    AddRecorder(log, "a2", a.get());
    AddRecorder(log, "b", root.get());
    auto first = AddRecorder(log, "first", nullptr);
    root->AddObject(first, 0); // first in the list: updated and drawn first

    root->Update();
    EXPECT_EQ(Only(log, "update"), (std::vector<std::string>{"root", "first", "a", "a1", "a2", "b"}));
    // Within one object: count, type, placement, update, then the children.
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
              (std::vector<std::string>{"count:root", "type:root", "update:root", "count:first"}));

    log.clear();
    root->Draw();
    EXPECT_EQ(log, (std::vector<std::string>{"draw:root", "draw:first", "end:first", "draw:a", "draw:a1", "end:a1",
                                             "draw:a2", "end:a2", "end:a", "draw:b", "end:b", "end:root"}));
}

TEST(AppObjTraversal, TypeUpdateSeesLastFramePlacement)
{
    std::vector<std::string> log;
    auto root = AddRecorder(log, "root", nullptr);
    root->Update();
    root->SetXY(40, 0);
    root->Update();
    EXPECT_EQ(root->xAtType, 0);
    EXPECT_EQ(root->xAtUpdate, 40);
}

TEST(AppObjTraversal, DisabledSubtreeIsSkippedButCalculated)
{
    std::vector<std::string> log;
    auto root = AddRecorder(log, "root", nullptr);
    auto a = AddRecorder(log, "a", root.get());
    auto a1 = AddRecorder(log, "a1", a.get());
    AddRecorder(log, "b", root.get());

    a->Disable();
    a1->SetXY(7, 8);
    root->Update();
    root->Draw();
    EXPECT_EQ(Only(log, "update"), (std::vector<std::string>{"root", "b"}));
    EXPECT_EQ(Only(log, "draw"), (std::vector<std::string>{"root", "b"}));
    EXPECT_EQ(Only(log, "disable"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(a1->x, 0); // not updated

    root->Calculate();
    EXPECT_NEAR(a1->x, 7, 1e-4f);
    EXPECT_NEAR(a1->y, 8, 1e-4f);

    log.clear();
    a->Enable();
    root->Update();
    EXPECT_EQ(Only(log, "enable"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Only(log, "update"), (std::vector<std::string>{"root", "a", "a1", "b"}));
}

TEST(AppObjTraversal, DrawSetsTheWholeStateAndRestoresItAfterChildren)
{
    std::vector<std::string> log;
    auto root = AddRecorder(log, "root", nullptr);
    root->SetA(0.5f);
    root->SetRot(30);
    root->SetS(2, 2);
    root->SetRGB(40, 50, 60);
    auto child = AddRecorder(log, "child", root.get());
    child->Blend = 4;
    child->SetA(0.5f);
    child->SetRot(15);

    platform::ResetDrawState();
    root->Update();
    root->Draw();
    EXPECT_FLOAT_EQ(root->drawnAlpha, 0.5f);
    EXPECT_EQ(root->drawnBlend, 3);
    EXPECT_FLOAT_EQ(root->drawnRotation, 30);
    EXPECT_FLOAT_EQ(root->drawnScaleX, 2);
    EXPECT_EQ(root->drawnRed, 40);
    EXPECT_FLOAT_EQ(child->drawnAlpha, 0.25f);
    EXPECT_EQ(child->drawnBlend, 4);
    EXPECT_FLOAT_EQ(child->drawnRotation, 45);
    EXPECT_EQ(child->drawnRed, 255);
    // After the children the parent's state is set again for OnDrawEnd.
    EXPECT_EQ(platform::GetBlend(), 3);
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 0.5f);
    EXPECT_EQ(platform::ColorRed(), 40);
    platform::ResetDrawState();
}

// A child that leaves the tree in its own update must neither crash the walk
// nor make a sibling miss its update.
class TLeaver : public TAppObj {
public:
    void OnUpdate() override { RemoveFromParent(); }
};

TEST(AppObjTraversal, ChildLeavingDuringUpdate)
{
    std::vector<std::string> log;
    auto root = AddRecorder(log, "root", nullptr);
    AddRecorder(log, "before", root.get());
    std::weak_ptr<TAppObj> leaver;
    {
        auto l = std::make_shared<TLeaver>();
        leaver = l;
        root->AddObject(l, 1);
    }
    AddRecorder(log, "after", root.get());

    root->Update();
    EXPECT_EQ(Only(log, "update"), (std::vector<std::string>{"root", "before", "after"}));
    EXPECT_EQ(root->Objects.size(), 2u);
    EXPECT_TRUE(leaver.expired()); // released once its last owner let go
}

TEST(AppObjTraversal, ClearButtonsReachesTheWholeTree)
{
    std::vector<std::string> log;
    auto root = AddRecorder(log, "root", nullptr);
    auto a = AddRecorder(log, "a", root.get());
    AddRecorder(log, "a1", a.get());
    a->Disable();
    log.clear();
    root->ClearButtons();
    EXPECT_EQ(Only(log, "clear"), (std::vector<std::string>{"root", "a", "a1"}));
}

// ---- Finding ----

TEST(AppObjFinding, FindObjectOrder)
{
    auto root = CreateAppObj("root", 0, 0);
    auto a = CreateAppObj("a", 0, 0, root.get());
    auto deepInA = CreateAppObj("x", 0, 0, CreateAppObj("a-inner", 0, 0, a.get()).get());
    auto directInA = CreateAppObj("x", 0, 0, a.get());
    auto b = CreateAppObj("b", 0, 0, root.get());
    auto directT = CreateAppObj("t", 0, 0, root.get());
    auto deepT = CreateAppObj("t", 0, 0, a.get());
    auto onlyDeep = CreateAppObj("only", 0, 0, b.get());

    struct Case {
        const char* name;
        TAppObjPtr expected;
    } cases[] = {
        {"t", directT},        // a direct child wins over an earlier deeper one
        {"x", directInA},      // the same rule inside each subtree
        {"only", onlyDeep},
        {"a-inner", a->Objects[0]},
        {"X", nullptr},        // exact, case-sensitive
        {"missing", nullptr},
        {"root", nullptr},     // the object itself is not searched
    };
    for (const Case& c : cases)
        EXPECT_EQ(root->FindObject(c.name), c.expected) << c.name;
    (void)deepInA;
    (void)deepT;

    EXPECT_EQ(root->FindObjectInd(0), a);
    EXPECT_EQ(root->FindObjectInd(2), directT);
    EXPECT_EQ(root->FindObjectInd(3), nullptr);
    EXPECT_EQ(root->FindObjectInd(-1), nullptr);
}

class TTestScreen : public TAppObj {
public:
    bool IsScreen() const override { return true; }
};

TEST(AppObjFinding, FindRootScreenWalksUp)
{
    auto outer = std::make_shared<TTestScreen>();
    auto inner = std::make_shared<TTestScreen>();
    outer->AddObject(inner);
    auto group = CreateAppObj("g", 0, 0, inner.get());
    auto leaf = CreateAppObj("leaf", 0, 0, group.get());
    EXPECT_EQ(leaf->FindRootScreen(), inner.get()); // the nearest one
    EXPECT_EQ(inner->FindRootScreen(), outer.get()); // not itself
    EXPECT_EQ(CreateAppObj("alone", 0, 0)->FindRootScreen(), nullptr);
}

// ---- Tree editing and lifetime ----

TEST(AppObjTree, AddRemoveAndReparent)
{
    auto root = CreateAppObj("root", 0, 0);
    auto other = CreateAppObj("other", 0, 0);
    auto a = CreateAppObj("a", 0, 0, root.get());
    auto b = CreateAppObj("b", 0, 0);
    root->AddObject(b, 0);
    EXPECT_EQ(root->Objects.front(), b);
    EXPECT_EQ(b->Parent, root.get());

    other->RemoveObject(a.get()); // not its child: nothing
    EXPECT_EQ(a->Parent, root.get());
    EXPECT_EQ(root->Objects.size(), 2u);

    other->AddObject(a); // moves: one parent at a time
    EXPECT_EQ(root->Objects.size(), 1u);
    EXPECT_EQ(other->Objects.size(), 1u);
    EXPECT_EQ(a->Parent, other.get());

    a->RemoveFromParent();
    EXPECT_TRUE(other->Objects.empty());
    EXPECT_EQ(a->Parent, nullptr);
    a->RemoveFromParent(); // no parent: nothing

    // Cycles, self and null are refused.
    auto child = CreateAppObj("child", 0, 0, a.get());
    child->AddObject(a);
    child->AddObject(child);
    child->AddObject(nullptr);
    EXPECT_TRUE(child->Objects.empty());
    EXPECT_EQ(a->Parent, nullptr);
    EXPECT_EQ(child->Parent, a.get());
}

TEST(AppObjTree, ChildIsReleasedWithItsLastOwner)
{
    std::weak_ptr<TAppObj> child, grand;
    auto root = CreateAppObj("root", 0, 0);
    {
        auto c = CreateAppObj("c", 0, 0, root.get());
        grand = CreateAppObj("g", 0, 0, c.get());
        child = c;
    }
    EXPECT_FALSE(child.expired()); // held by its parent
    root.reset();
    EXPECT_TRUE(child.expired());
    EXPECT_TRUE(grand.expired());

    // A child that outlives its parent keeps no dangling link.
    auto parent = CreateAppObj("p", 0, 0);
    auto kept = CreateAppObj("kept", 0, 0, parent.get());
    parent.reset();
    EXPECT_EQ(kept->Parent, nullptr);
    kept->Update();
    EXPECT_EQ(kept->x, 0);
}

TEST(AppObjTree, FreeDetachesAndEmptiesTheSubtree)
{
    auto root = CreateAppObj("root", 0, 0);
    auto a = CreateAppObj("a", 0, 0, root.get());
    auto a1 = CreateAppObj("a1", 0, 0, a.get());
    std::weak_ptr<TAppObj> a2 = CreateAppObj("a2", 0, 0, a1.get());
    CreateAppObj("b", 0, 0, root.get());

    a->Free();
    EXPECT_EQ(a->Parent, nullptr);
    EXPECT_TRUE(a->Objects.empty());
    EXPECT_EQ(a1->Parent, nullptr);
    EXPECT_TRUE(a1->Objects.empty());
    EXPECT_TRUE(a2.expired());
    ASSERT_EQ(root->Objects.size(), 1u);
    EXPECT_EQ(root->Objects[0]->Name, "b");

    // Freed through its parent's list, which is its only owner.
    std::weak_ptr<TAppObj> b = root->Objects[0];
    root->Objects[0]->Free();
    EXPECT_TRUE(root->Objects.empty());
    EXPECT_TRUE(b.expired());
}

TEST(AppObjTree, ToString2ListsTheTreeIndented)
{
    auto root = CreateAppObj("root", 1.5f, -2);
    auto a = CreateAppObj("a", 10, 20, root.get());
    CreateAppObj("a1", 0, 0.25f, a.get());
    CreateAppObj("", 3, 4, root.get());
    EXPECT_EQ(root->ToString2(), "OBJECT 'root' - 1.5, -2\n"
                                 "\tOBJECT 'a' - 10, 20\n"
                                 "\t\tOBJECT 'a1' - 0, 0.25\n"
                                 "\tOBJECT '' - 3, 4\n");
}

// ---- Loading ----

// Notes whether its parent was already set when its own entries were read.
class TProbe : public TAppObj {
public:
    void LoadTypeData(const TBlockFile& block) override
    {
        parentAtLoad = Parent;
        width = block.isBlock("Width") ? block.isBlock("Width")->GetInt(0) : -1;
    }
    TAppObj* parentAtLoad = nullptr;
    int width = 0;
};

TEST(AppObjLoading, CommonEntriesChildrenAndFactory)
{
    app::RegisterAppObjType("probe", [] { return std::make_shared<TProbe>(); });
    const PBlockFile file = ParseBlockText("OBJECT {\n"
                                           "  Id = 7.9\n"
                                           "  Name = \"panel\"\n"
                                           "  XY = 10, 20\n"
                                           "  Scale = 2\n"
                                           "  Alpha = 0.5\n"
                                           "  RGB = 1\n"
                                           "  Color = 10, 300, -5\n"
                                           "  Rotation = 45\n"
                                           "  object {\n"
                                           "    Name = \"inner\"\n"
                                           "  }\n"
                                           "  BUTTON {\n"
                                           "    OBJECT {\n"
                                           "      Name = \"hidden\"\n"
                                           "    }\n"
                                           "  }\n"
                                           "  Probe {\n"
                                           "    Name = \"probe\"\n"
                                           "    Width = 33\n"
                                           "  }\n"
                                           "}\n",
                                           "test");
    auto screen = std::make_shared<TTestScreen>();
    screen->LoadSubObjects(*file);
    ASSERT_EQ(screen->Objects.size(), 1u);
    const TAppObjPtr panel = screen->Objects[0];
    EXPECT_EQ(panel->Id, 7);
    EXPECT_EQ(panel->Name, "panel");
    EXPECT_EQ(panel->GetX(), 10);
    EXPECT_EQ(panel->GetY(), 20);
    EXPECT_EQ(panel->TFR.sx, 2);
    EXPECT_EQ(panel->TFR.sy, 0); // one value: sy reads 0
    EXPECT_EQ(panel->GetA(), 0.5f);
    EXPECT_EQ(panel->Rgb.r, 10);
    EXPECT_EQ(panel->Rgb.g, 255); // clamped to the channel range
    EXPECT_EQ(panel->Rgb.b, 0);
    EXPECT_EQ(panel->TFR.Rotation, 45);
    EXPECT_EQ(panel->Blend, 3);

    // Block names compare upper-cased; unknown blocks are skipped with everything in them.
    ASSERT_EQ(panel->Objects.size(), 2u);
    EXPECT_EQ(panel->Objects[0]->Name, "inner");
    EXPECT_EQ(panel->FindObject("hidden"), nullptr);
    auto probe = std::dynamic_pointer_cast<TProbe>(panel->Objects[1]);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->parentAtLoad, panel.get()); // hung under its parent before loading
    EXPECT_EQ(probe->width, 33);
    EXPECT_EQ(probe->FindRootScreen(), screen.get());
}

TEST(AppObjLoading, DefaultsAndTheColourSwitch)
{
    struct Case {
        const char* body;
        int r, g, b;
        float sx, sy, a, rot;
    } cases[] = {
        {"Name = \"plain\"\n", 255, 255, 255, 1, 1, 1, 0},
        {"Color = 1, 2, 3\n", 255, 255, 255, 1, 1, 1, 0}, // colour without the switch stays white
        {"RGB = 1\n", 0, 0, 0, 1, 1, 1, 0},               // switch without a colour: black
        {"RGB = 0\nColor = 1, 2.9\n", 1, 2, 0, 1, 1, 1, 0},
        {"Scale = 0.5, 3\nAlpha = 0\nRotation = -90\n", 255, 255, 255, 0.5f, 3, 0, -90},
        {"Scale = abc\n", 255, 255, 255, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        const PBlockFile file = ParseBlockText(std::string("OBJECT {\n") + c.body + "}\n", "test");
        auto root = CreateAppObj("root", 0, 0);
        root->LoadSubObjects(*file);
        ASSERT_EQ(root->Objects.size(), 1u) << c.body;
        const TAppObj& o = *root->Objects[0];
        EXPECT_EQ(o.Rgb.r, c.r) << c.body;
        EXPECT_EQ(o.Rgb.g, c.g) << c.body;
        EXPECT_EQ(o.Rgb.b, c.b) << c.body;
        EXPECT_EQ(o.TFR.sx, c.sx) << c.body;
        EXPECT_EQ(o.TFR.sy, c.sy) << c.body;
        EXPECT_EQ(o.GetA(), c.a) << c.body;
        EXPECT_EQ(o.TFR.Rotation, c.rot) << c.body;
        EXPECT_EQ(o.GetX(), 0) << c.body; // no "XY": the parent's origin
        EXPECT_EQ(o.Id, 0) << c.body;
    }
}

TEST(AppObjLoading, LoadReplacesPositionIdAndName)
{
    auto obj = CreateAppObj("code-name", 5, 6);
    obj->Id = 12;
    const PBlockFile file = ParseBlockText("OBJECT {\n  XY = 1\n}\n", "test");
    obj->Load(*GetAllSubBlocks(*file).front());
    EXPECT_EQ(obj->GetX(), 1);
    EXPECT_EQ(obj->GetY(), 0);
    EXPECT_EQ(obj->Id, 0);
    EXPECT_EQ(obj->Name, "");
    EXPECT_EQ(app::CreateAppObjOfType("nothing"), nullptr);
    EXPECT_NE(app::CreateAppObjOfType("object"), nullptr);
}

} // namespace
