#include "tests/document/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

namespace editor_test {
namespace {

const std::string kDuplicate = "Este relacionamento já exite";

using EditingTest = EditorFixture;

TEST_F(EditingTest, AttachingACanvasDrawsTheModelOnIt) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  Link(a, b, RelationshipKind::Rate);
  editor.Paint();
  RasterCanvas other(800, 600);
  editor.AttachCanvas(&other);
  EXPECT_EQ(other.Snapshot(), canvas.Snapshot());
  EXPECT_EQ(a.Canvas, &other);
  EXPECT_EQ(editor.Relationships[0]->Canvas, &other);
}

struct PlacementCase {
  const char* name;
  bool onOff;
  std::int32_t x, y;
  std::int32_t expectX, expectY;
};

class PlacementTest : public EditorFixture, public testing::WithParamInterface<PlacementCase> {};

TEST_P(PlacementTest, PlacesAPositiveVariableNamedNomeAndReturnsToSelection) {
  const PlacementCase& c = GetParam();
  TVariavel& v = Place(c.x, c.y, c.onOff ? VariableType::OnOff : VariableType::Continuous);
  ASSERT_EQ(editor.Variables.size(), 1u);
  EXPECT_EQ(typeid(v), c.onOff ? typeid(TVarLigaDesliga) : typeid(TVarContinua));
  EXPECT_EQ(v.Name, "Nome");
  EXPECT_GT(v.HalfNameWidth, 0);
  EXPECT_EQ(v.X, c.expectX);
  EXPECT_EQ(v.Y, c.expectY);
  EXPECT_TRUE(editor.Modified);
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
  EXPECT_EQ(host.selectToolPutDown, 1);
  EXPECT_EQ(editor.CurrentObject, nullptr);

  // Every placement needs the tool again.
  editor.MouseDown(600, 100);
  editor.MouseUp();
  EXPECT_EQ(editor.Variables.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, PlacementTest,
    testing::Values(PlacementCase{"continuous", false, 200, 150, 200, 150},
                    PlacementCase{"on_off", true, 200, 150, 200, 150},
                    // Name band 16 + half height 25 above the centre; half width 15.
                    PlacementCase{"continuous_in_the_corner", false, 2, 3, 15, 41},
                    PlacementCase{"on_off_in_the_corner", true, 2, 3, 20, 41},
                    PlacementCase{"continuous_at_the_bottom_right", false, 799, 599, 785, 574}),
    [](const auto& info) { return std::string(info.param.name); });

struct MoveCase {
  const char* name;
  std::int32_t dx, dy;
  bool drags;
};

class ClickOrDragTest : public EditorFixture, public testing::WithParamInterface<MoveCase> {};

TEST_P(ClickOrDragTest, OnlyAMoveOfMoreThanThreePixelsStartsADrag) {
  const MoveCase& c = GetParam();
  TVariavel& a = Place(300, 300);
  TVariavel& b = Place(500, 300);
  editor.Modified = false;

  PressOn(editor, a);
  EXPECT_EQ(editor.Mode, Mode::modePressed);
  editor.MouseMove(a.X + c.dx, a.Y + c.dy);
  EXPECT_EQ(editor.Mode, c.drags ? Mode::modeDragging : Mode::modePressed);
  EXPECT_EQ(editor.Modified, c.drags);
  editor.MouseUp();

  EXPECT_EQ(editor.Mode, Mode::modeSelect);
  EXPECT_EQ(editor.CurrentObject, &a);
  EXPECT_EQ(editor.Variables.back().get(), &a) << "a picked variable is raised";
  EXPECT_EQ(editor.Variables.front().get(), &b);
  // Anchored at the press: the move that starts a drag does not move yet.
  EXPECT_EQ(a.X, 300);
  EXPECT_EQ(a.Y, 300);
}

INSTANTIATE_TEST_SUITE_P(
    Tolerance, ClickOrDragTest,
    testing::Values(MoveCase{"three_right", 3, 0, false}, MoveCase{"three_left", -3, 0, false},
                    MoveCase{"three_down", 0, 3, false}, MoveCase{"three_up", 0, -3, false},
                    MoveCase{"three_diagonally", 3, -3, false},
                    MoveCase{"four_right", 4, 0, true}, MoveCase{"four_left", -4, 0, true},
                    MoveCase{"four_down", 0, 4, true}, MoveCase{"four_up", 0, -4, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, DraggingAGaugeMovesItWithItsRelationships) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  TRelacionamento* r = Link(a, b);
  ASSERT_NE(r, nullptr);
  const std::int32_t boxX = r->X;

  Drag(a.X, a.Y, 40, -100);
  EXPECT_EQ(a.X, 240);
  EXPECT_EQ(a.Y, 200);
  EXPECT_EQ(r->X, boxX) << "the box stays";
  // The box lies right of the gauge, between its diagonals: the right side.
  EXPECT_EQ(r->StartX, 255);
  EXPECT_EQ(r->StartY, 200);
  EXPECT_EQ(editor.CurrentObject, &a);
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
}

struct DragPictureCase {
  const char* name;
  /// 0 the continuous gauge, 1 the on-off gauge, 2 a relationship's box.
  int target;
  /// The press point relative to the target's centre.
  std::int32_t grabDx, grabDy;
  std::int32_t dx, dy;
};

class DragPictureTest : public EditorFixture,
                        public testing::WithParamInterface<DragPictureCase> {};

TEST_P(DragPictureTest, ARepaintAfterTheDragChangesNoPixel) {
  const DragPictureCase& c = GetParam();
  TVariavel& a = Place(200, 300);
  auto& b = static_cast<TVarLigaDesliga&>(Place(450, 250, VariableType::OnOff));
  TVariavel& d = Place(420, 420);
  Link(a, b, RelationshipKind::Rate);
  TRelacionamento* bd = Link(b, d, RelationshipKind::Proportion);
  Link(d, a, RelationshipKind::Proportion);
  a.Color = RGBColor(0, 0, 255);
  a.Level = 0.5;
  b.ThresholdLevel = 0.5;
  editor.Paint();

  const TObjGrafico* targets[] = {&a, &b, bd};
  const TObjGrafico& grabbed = *targets[c.target];
  Drag(grabbed.X + c.grabDx, grabbed.Y + c.grabDy, c.dx, c.dy);
  ASSERT_TRUE(editor.Modified);
  const std::vector<std::uint32_t> afterDrag = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(afterDrag, canvas.Snapshot());
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, DragPictureTest,
    testing::Values(DragPictureCase{"gauge", 0, 0, -10, 60, 40},
                    DragPictureCase{"level_mark", 0, 0, 0, 0, -12},
                    DragPictureCase{"on_off_gauge", 1, 0, -10, -50, 30},
                    // The threshold mark sits at the centre for threshold 0.5.
                    DragPictureCase{"threshold_mark", 1, -15, 0, 0, -12},
                    DragPictureCase{"relationship_box", 2, 0, 0, -30, 50}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, TheLatestObjectIsHitFirstAndVariablesBeforeRelationships) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(210, 300);
  TVariavel& far = Place(600, 300);
  TVariavel& top = Place(600, 100);
  TRelacionamento* link = Link(b, far);
  ASSERT_NE(link, nullptr);
  ASSERT_NE(Link(far, top), nullptr);
  // A gauge over the right edge of the box, which lies at (405, 300).
  TVariavel& over = Place(link->X + 20, link->Y);

  struct Press {
    const char* what;
    std::int32_t x, y;
    const TObjGrafico* expected;
  };
  const Press presses[] = {
      {"overlap: b was placed last", 205, 300, &b},
      {"only a is here", 190, 300, &a},
      {"overlap again: a was picked last", 205, 300, &a},
      {"the box where the gauge covers it", link->X + 8, link->Y, &over},
      {"the uncovered part of the box", link->X - 8, link->Y, link},
      {"empty canvas", 700, 100, nullptr},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(p.what);
    editor.MouseDown(p.x, p.y);
    editor.MouseUp();
    EXPECT_EQ(editor.CurrentObject, p.expected);
    if (p.expected && dynamic_cast<const TVariavel*>(p.expected)) {
      EXPECT_EQ(editor.Variables.back().get(), p.expected);
    }
  }
  EXPECT_EQ(editor.Relationships.back().get(), link);
}

TEST_F(EditingTest, APickedRelationshipIsRedrawnWithAWhiteBox) {
  // An on-off gauge drawn last leaves the canvas brush grey from its switch strip.
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300, VariableType::OnOff);
  TRelacionamento* r = Link(a, b);
  ASSERT_NE(r, nullptr);
  for (const bool animating : {false, true}) {
    SCOPED_TRACE(animating ? "held animation" : "stopped");
    editor.Paint();
    if (animating) editor.StartAnimation();
    PressOn(editor, *r);
    ASSERT_EQ(editor.CurrentObject, r);
    EXPECT_EQ(canvas.Pixel(r->X + 4, r->Y + 4), clWhite);
    const std::vector<std::uint32_t> picked = canvas.Snapshot();
    editor.Paint();
    EXPECT_EQ(picked, canvas.Snapshot());
    editor.MouseUp();
    editor.StopAnimation();
  }
}

TEST_F(EditingTest, TwoPressesWithTheRateToolLinkTwoVariables) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  const int toolDownBefore = host.selectToolPutDown;
  editor.Modified = false;

  editor.UseRateTool();
  PressOn(editor, a);
  editor.MouseUp();
  EXPECT_EQ(editor.Mode, Mode::modeLinkDestination);
  EXPECT_EQ(editor.LinkOrigin, &a);
  EXPECT_EQ(editor.CurrentObject, &a) << "the origin shows its mark";
  PressOn(editor, b);
  editor.MouseUp();

  ASSERT_EQ(editor.Relationships.size(), 1u);
  TRelacionamento& r = *editor.Relationships[0];
  EXPECT_EQ(r.Origin, &a);
  EXPECT_EQ(r.Destination, &b);
  EXPECT_EQ(r.Kind, RelationshipKind::Rate);
  EXPECT_EQ(b.InputKind, RelationshipKind::Rate);
  EXPECT_EQ(a.InputKind, RelationshipKind::Proportion);
  EXPECT_EQ(a.Relationships, std::vector<TRelacionamento*>{&r});
  EXPECT_EQ(b.Relationships, std::vector<TRelacionamento*>{&r});
  // Halfway between the middle of a's right side and of b's left side.
  EXPECT_EQ(r.X, 350);
  EXPECT_EQ(r.Y, 300);
  EXPECT_TRUE(editor.Modified);
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
  EXPECT_EQ(editor.CurrentObject, nullptr);
  EXPECT_EQ(host.selectToolPutDown, toolDownBefore + 1);
  EXPECT_TRUE(host.messages.empty());
  const std::vector<std::uint32_t> picture = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(picture, canvas.Snapshot());
}

struct CancelCase {
  const char* name;
  /// 0 empty canvas, 1 the relationship's box, 2 the origin, 3 variable b.
  int firstPress;
  int secondPress;
};

class LinkCancelTest : public EditorFixture, public testing::WithParamInterface<CancelCase> {};

TEST_P(LinkCancelTest, APressThatFindsNoUsableVariableCancelsSilently) {
  const CancelCase& c = GetParam();
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  TRelacionamento* existing = Link(b, a);
  ASSERT_NE(existing, nullptr);
  const int toolDownBefore = host.selectToolPutDown;

  auto press = [&](int target) {
    switch (target) {
      case 0: editor.MouseDown(700, 80); break;
      case 1: PressOn(editor, *existing); break;
      case 2: PressOn(editor, a); break;
      case 3: PressOn(editor, b); break;
    }
    editor.MouseUp();
  };
  editor.UseProportionTool();
  press(c.firstPress);
  if (c.secondPress >= 0) press(c.secondPress);

  EXPECT_EQ(editor.Relationships.size(), 1u);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
  EXPECT_EQ(editor.CurrentObject, nullptr);
  EXPECT_EQ(host.selectToolPutDown, toolDownBefore + 1);
  EXPECT_FALSE(existing->Selected);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, LinkCancelTest,
    testing::Values(CancelCase{"origin_on_empty_canvas", 0, -1},
                    CancelCase{"origin_on_a_relationship", 1, -1},
                    CancelCase{"destination_on_empty_canvas", 2, 0},
                    CancelCase{"destination_on_a_relationship", 2, 1},
                    CancelCase{"destination_is_the_origin", 2, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, ASecondLinkOfTheSamePairIsRefusedWithTheMessage) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  Link(a, b);
  editor.Modified = false;
  const std::vector<std::uint32_t> picture = canvas.Snapshot();

  EXPECT_EQ(Link(a, b, RelationshipKind::Rate), nullptr);
  EXPECT_EQ(host.messages, std::vector<std::string>{kDuplicate});
  EXPECT_EQ(editor.Relationships.size(), 1u);
  EXPECT_EQ(editor.Relationships[0]->Kind, RelationshipKind::Proportion) << "the refused tool's kind is not applied";
  EXPECT_EQ(b.InputKind, RelationshipKind::Proportion);
  EXPECT_FALSE(editor.Modified);
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
  EXPECT_EQ(editor.CurrentObject, nullptr);
  EXPECT_EQ(canvas.Snapshot(), picture) << "the origin's mark is gone again";
}

TEST_F(EditingTest, TheReverseLinkIsAcceptedAndItsBoxMovedOffTheFirst) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  TRelacionamento* ab = Link(a, b);
  TRelacionamento* ba = Link(b, a);
  ASSERT_NE(ba, nullptr);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ba->X, ab->X + 5);
  EXPECT_EQ(ba->Y, ab->Y + 5);
  // The end points follow the moved box: still b's left side and a's right side.
  EXPECT_EQ(ba->StartX, 485);
  EXPECT_EQ(ba->EndX, 215);
}

TEST_F(EditingTest, TheNudgeGoesOnWhileTheBoxLandsOnLaterBoxes) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  TVariavel& c = Place(300, 500);
  TVariavel& d = Place(400, 500);
  TRelacionamento* ab = Link(a, b);
  TRelacionamento* cd = Link(c, d);
  // As a model file could have it: right where the nudge will put the next box.
  cd->X = ab->X + 5;
  cd->Y = ab->Y + 5;
  TRelacionamento* ba = Link(b, a);
  ASSERT_NE(ba, nullptr);
  EXPECT_EQ(ba->X, ab->X + 10);
  EXPECT_EQ(ba->Y, ab->Y + 10);
}

TEST_F(EditingTest, TheNewestRelationshipIntoAVariableDecidesTheKindOfAll) {
  TVariavel& a = Place(150, 300);
  TVariavel& b = Place(400, 100);
  TVariavel& c = Place(400, 300);
  TVariavel& d = Place(650, 300);
  TRelacionamento* ac = Link(a, c, RelationshipKind::Proportion);
  TRelacionamento* bc = Link(b, c, RelationshipKind::Rate);
  TRelacionamento* cd = Link(c, d, RelationshipKind::Proportion);
  EXPECT_EQ(ac->Kind, RelationshipKind::Rate);
  EXPECT_EQ(bc->Kind, RelationshipKind::Rate);
  EXPECT_EQ(c.InputKind, RelationshipKind::Rate);
  EXPECT_EQ(cd->Kind, RelationshipKind::Proportion) << "relationships leaving c keep their kind";

  TRelacionamento* dc = Link(d, c, RelationshipKind::Proportion);
  for (TRelacionamento* r : {ac, bc, dc}) EXPECT_EQ(r->Kind, RelationshipKind::Proportion);
  EXPECT_EQ(c.InputKind, RelationshipKind::Proportion);

  // The dialog does the same for the relationship it edits.
  host.relationshipDialog.apply = [](TRelacionamento* r) { r->Kind = RelationshipKind::Rate; };
  Click(*bc);
  editor.DoubleClick();
  editor.MouseDown(bc->X, bc->Y);
  editor.MouseUp();
  EXPECT_EQ(host.relationshipDialog.edited, bc);
  for (TRelacionamento* r : {ac, bc, dc}) EXPECT_EQ(r->Kind, RelationshipKind::Rate);
  EXPECT_EQ(c.InputKind, RelationshipKind::Rate);
  EXPECT_EQ(cd->Kind, RelationshipKind::Proportion);
  EXPECT_EQ(d.InputKind, RelationshipKind::Proportion);
}

TEST_F(EditingTest, DeletingAVariableDeletesItsRelationshipsAndResetsInputKinds) {
  TVariavel& a = Place(150, 300);
  TVariavel& v = Place(400, 300);
  TVariavel& b = Place(650, 300);
  TVariavel& c = Place(400, 100);
  Link(a, v, RelationshipKind::Rate);
  Link(v, b, RelationshipKind::Rate);
  Link(c, v, RelationshipKind::Rate);
  TRelacionamento* cb = Link(c, b, RelationshipKind::Rate);
  editor.Modified = false;

  Click(v);
  editor.DeleteSelected();

  EXPECT_EQ(editor.Variables.size(), 3u);
  EXPECT_EQ(editor.Relationships.size(), 1u);
  EXPECT_EQ(editor.Relationships[0].get(), cb);
  EXPECT_TRUE(a.Relationships.empty());
  EXPECT_EQ(c.Relationships, std::vector<TRelacionamento*>{cb});
  EXPECT_EQ(b.InputKind, RelationshipKind::Rate) << "c still leads into b";
  EXPECT_EQ(editor.CurrentObject, nullptr);
  EXPECT_FALSE(editor.Modified);

  // b loses its last incoming relationship with c.
  Click(c);
  editor.DeleteSelected();
  EXPECT_EQ(b.InputKind, RelationshipKind::Proportion);
  EXPECT_TRUE(editor.Relationships.empty());
  EXPECT_TRUE(b.Relationships.empty());
  const std::vector<std::uint32_t> picture = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(picture, canvas.Snapshot());
}

TEST_F(EditingTest, DeletingAVariableFreesItAndEachOfItsRelationshipsOnce) {
  auto& a = AddRaw<TVarContinua>(150, 300);
  auto& v = AddRaw<TVarContinua>(400, 300);
  auto& b = AddRaw<TVarContinua>(650, 300);
  AddRawLink(a, v);
  AddRawLink(v, b);
  AddRawLink(b, v);
  AddRawLink(a, b);
  ASSERT_EQ(Live::variables, 3);
  ASSERT_EQ(Live::relationships, 4);

  Click(v);
  editor.DeleteSelected();
  EXPECT_EQ(Live::variables, 2);
  EXPECT_EQ(Live::relationships, 1);
  EXPECT_EQ(a.Relationships.size(), 1u);
  EXPECT_EQ(b.Relationships.size(), 1u);
}

TEST_F(EditingTest, DeletingARelationshipLeavesItsVariables) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  TRelacionamento* r = Link(a, b, RelationshipKind::Rate);
  Click(*r);
  editor.DeleteSelected();
  EXPECT_TRUE(editor.Relationships.empty());
  EXPECT_EQ(editor.Variables.size(), 2u);
  EXPECT_TRUE(a.Relationships.empty());
  EXPECT_TRUE(b.Relationships.empty());
  EXPECT_EQ(b.InputKind, RelationshipKind::Proportion);
}

TEST_F(EditingTest, DeleteDuringADragEndsTheDragFirst) {
  TVariavel& a = Place(200, 300);
  editor.MouseDown(a.X, a.Y);
  editor.MouseMove(a.X + 50, a.Y);
  editor.MouseMove(a.X + 50, a.Y);
  ASSERT_EQ(editor.Mode, Mode::modeDragging);
  editor.DeleteSelected();
  EXPECT_TRUE(editor.Variables.empty());
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
  editor.MouseMove(400, 400);
  editor.MouseUp();
  std::vector<std::uint32_t> picture = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(picture, canvas.Snapshot());
}

TEST_F(EditingTest, DeleteWhileTheButtonIsStillDownEndsThePress) {
  TVariavel& a = Place(200, 300);
  PressOn(editor, a);
  editor.DeleteSelected();
  ASSERT_TRUE(editor.Variables.empty());
  // A move beyond the tolerance must not start a drag of the freed variable.
  editor.MouseMove(300, 300);
  editor.MouseMove(320, 300);
  editor.MouseUp();
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
  EXPECT_EQ(editor.CurrentObject, nullptr);
}

TEST_F(EditingTest, DeleteAndDoubleClickDoNothingWhileAnimating) {
  TVariavel& a = Place(200, 300);
  editor.StartAnimation();

  // Held: the press picked a, but only a stopped model can lose it.
  PressOn(editor, a);
  ASSERT_EQ(editor.RunState, RunState::Held);
  ASSERT_EQ(editor.CurrentObject, &a);
  editor.DeleteSelected();
  EXPECT_EQ(editor.Variables.size(), 1u);
  editor.MouseUp();

  Click(a);
  editor.RunState = RunState::Running;
  editor.CurrentObject = &a;
  editor.DeleteSelected();
  EXPECT_EQ(editor.Variables.size(), 1u);
  editor.DoubleClick();
  EXPECT_EQ(host.variableDialog.shown, 0);
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
}

TEST_F(EditingTest, NothingDanglesWhenTheLinkOriginIsDeletedBetweenThePresses) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  editor.UseRateTool();
  Click(a);
  ASSERT_EQ(editor.LinkOrigin, &a);
  editor.DeleteSelected();
  EXPECT_EQ(editor.LinkOrigin, nullptr);

  Click(b);
  EXPECT_TRUE(editor.Relationships.empty());
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
  EXPECT_TRUE(b.Relationships.empty());
}

TEST_F(EditingTest, ClearFreesEverythingAndForgetsEveryReference) {
  auto& a = AddRaw<TVarContinua>(200, 300);
  auto& b = AddRaw<TVarLigaDesliga>(500, 300);
  AddRawLink(a, b);
  AddRawLink(b, a);
  editor.UseRateTool();
  Click(a);
  editor.Modified = true;

  editor.Clear();
  EXPECT_EQ(Live::variables, 0);
  EXPECT_EQ(Live::relationships, 0);
  EXPECT_EQ(editor.CurrentObject, nullptr);
  EXPECT_EQ(editor.LinkOrigin, nullptr);
  EXPECT_EQ(editor.LinkDestination, nullptr);
  EXPECT_FALSE(editor.Modified);
  RasterCanvas white(800, 600);
  EXPECT_EQ(canvas.Snapshot(), white.Snapshot());
}

TEST_F(EditingTest, TheDocumentFreesWhatItStillOwnsWhenDestroyed) {
  {
    FakeHost otherHost;
    TEditor other(otherHost);
    other.AttachCanvas(&canvas);
    auto v = std::make_unique<CountedVariable<TVarContinua>>();
    auto w = std::make_unique<CountedVariable<TVarContinua>>();
    auto r = std::make_unique<CountedRelationship>();
    r->Origin = v.get();
    r->Destination = w.get();
    v->AddRelationship(r.get());
    w->AddRelationship(r.get());
    other.Variables.push_back(std::move(v));
    other.Variables.push_back(std::move(w));
    other.Relationships.push_back(std::move(r));
    ASSERT_EQ(Live::variables, 2);
  }
  EXPECT_EQ(Live::variables, 0);
  EXPECT_EQ(Live::relationships, 0);
}

// A double click arrives after the click's press and release; the press that
// comes with it only resets the mode.
class DialogTest : public EditorFixture {
protected:
  /// o may be replaced, and freed, by the time the second press comes.
  void DoubleClickOn(const TObjGrafico& o) {
    const std::int32_t x = o.X;
    const std::int32_t y = o.Y;
    Click(o);
    editor.DoubleClick();
    editor.MouseDown(x, y);
    editor.MouseUp();
  }
};

TEST_F(DialogTest, CancelChangesNothing) {
  TVariavel& a = Place(200, 300);
  TVariavel& b = Place(500, 300);
  Link(a, b);
  editor.Modified = false;
  host.variableDialog.answerOk = false;
  host.relationshipDialog.answerOk = false;
  Click(a);
  const std::vector<std::uint32_t> picture = canvas.Snapshot();

  editor.DoubleClick();
  EXPECT_EQ(editor.Mode, Mode::modeDialog);
  EXPECT_EQ(host.variableDialog.edited, &a);
  EXPECT_EQ(host.variableDialog.shown, 1);
  EXPECT_EQ(host.variableDialog.applied, 0);
  EXPECT_EQ(canvas.Snapshot(), picture);
  PressOn(editor, a);
  EXPECT_EQ(editor.Mode, Mode::modeSelect) << "the double click's own press";
  editor.MouseUp();

  DoubleClickOn(*editor.Relationships[0]);
  EXPECT_EQ(host.relationshipDialog.shown, 1);
  EXPECT_EQ(host.relationshipDialog.applied, 0);
  EXPECT_EQ(editor.Variables[0].get(), &b);
  EXPECT_EQ(editor.Variables[1].get(), &a);
  EXPECT_FALSE(editor.Modified);
}

TEST_F(DialogTest, TheSameKindAppliesTheControlsInPlace) {
  TVariavel& a = Place(200, 300);
  editor.Modified = false;
  host.variableDialog.kindOnShow = KindCode::ContinuousPositive;
  host.variableDialog.kindChosen = KindCode::ContinuousPositive;
  host.variableDialog.apply = [](TVariavel* v) {
    v->SetName(std::string(300, 'W'));
    v->Color = clRed;
  };
  DoubleClickOn(a);

  ASSERT_EQ(editor.Variables.size(), 1u);
  EXPECT_EQ(editor.Variables[0].get(), &a);
  EXPECT_EQ(host.variableDialog.kindCodeComputed, 1);
  EXPECT_EQ(host.variableDialog.applied, 1);
  EXPECT_EQ(a.Color, clRed);
  // A name wider than the canvas: its right end is kept inside.
  ASSERT_GT(a.HalfNameWidth, 400);
  EXPECT_EQ(a.X, 800 - a.HalfNameWidth);
  EXPECT_FALSE(editor.Modified);
  const std::vector<std::uint32_t> picture = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(picture, canvas.Snapshot());
}

TEST_F(DialogTest, AKindChangeReplacesTheVariableAndKeepsItsRelationships) {
  auto& x = AddRaw<TVarContinua>(150, 300);
  auto& old = AddRaw<TVarContinua>(400, 300);
  auto& y = AddRaw<TVarContinua>(650, 300);
  old.Level = 0.7;
  old.InputKind = RelationshipKind::Rate;
  CountedRelationship& in = AddRawLink(x, old);
  in.Kind = RelationshipKind::Rate;
  CountedRelationship& out = AddRawLink(old, y);
  const std::vector<TRelacionamento*> order = old.Relationships;
  ASSERT_EQ(Live::variables, 3);

  host.variableDialog.kindOnShow = KindCode::ContinuousPositive;
  host.variableDialog.kindChosen = KindCode::OnOffPositive;
  TVariavel* appliedTo = nullptr;
  host.variableDialog.apply = [&appliedTo](TVariavel* v) {
    appliedTo = v;
    v->SetName("Pressão");
  };
  Click(old);
  editor.Modified = false;
  editor.DoubleClick();

  EXPECT_EQ(Live::variables, 2) << "the old variable is freed";
  ASSERT_EQ(editor.Variables.size(), 3u);
  TVariavel* v = editor.Variables.back().get();
  EXPECT_EQ(typeid(*v), typeid(TVarLigaDesliga));
  EXPECT_EQ(appliedTo, v);
  EXPECT_EQ(host.variableDialog.EditedVariable(), v);
  EXPECT_EQ(editor.CurrentObject, v);
  EXPECT_EQ(v->Name, "Pressão");
  EXPECT_EQ(v->X, 400);
  EXPECT_EQ(v->Y, 300);
  EXPECT_DOUBLE_EQ(double(v->Level), 0.7);
  EXPECT_EQ(v->InputKind, RelationshipKind::Rate);
  EXPECT_EQ(v->Canvas, &canvas);
  EXPECT_EQ(v->Relationships, order);
  EXPECT_EQ(in.Destination, v);
  EXPECT_EQ(out.Origin, v);
  // The on-off gauge is 5 pixels wider on each side.
  EXPECT_EQ(in.EndX, 380);
  EXPECT_EQ(out.StartX, 420);
  EXPECT_FALSE(editor.Modified);

  // The picture is the model's, with the mark around the new gauge.
  const std::vector<std::uint32_t> picture = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(picture, canvas.Snapshot());
  PressOn(editor, *v);
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
}

TEST_F(DialogTest, TheMovedRelationshipsFollowTheReplacementKeptInside) {
  auto& x = AddRaw<TVarContinua>(400, 300);
  auto& old = AddRaw<TVarContinua>(785, 300);
  CountedRelationship& in = AddRawLink(x, old);
  ASSERT_EQ(in.EndX, 770);
  host.variableDialog.kindOnShow = KindCode::ContinuousPositive;
  host.variableDialog.kindChosen = KindCode::OnOffPositive;
  DoubleClickOn(old);

  // The on-off gauge is 5 pixels wider each side, so it has to step inside.
  const TVariavel& v = *editor.Variables.back();
  EXPECT_EQ(v.X, 780);
  EXPECT_EQ(in.Destination, &v);
  EXPECT_EQ(in.EndX, 760);
  EXPECT_EQ(in.EndY, 300);
}

struct ReplacementCase {
  const char* name;
  int from, to;
  long double level, threshold;
  double expectLevel, expectThreshold;
};

class ReplacementTest : public DialogTest, public testing::WithParamInterface<ReplacementCase> {};

TEST_P(ReplacementTest, TheNewClassClampsTheLevelAndKeepsAThresholdBetweenOnOffClasses) {
  const ReplacementCase& c = GetParam();
  TVariavel* old = nullptr;
  switch (c.from) {
    case 11: old = &AddRaw<TVarContinua>(400, 300); break;
    case 12: old = &AddRaw<TVarContinuaQualquerValor>(400, 300); break;
    case 21: old = &AddRaw<TVarLigaDesliga>(400, 300); break;
    case 22: old = &AddRaw<TVarLigaDesligaQualquerValor>(400, 300); break;
  }
  ASSERT_NE(old, nullptr);
  old->Level = c.level;
  if (auto* onOff = dynamic_cast<TVarLigaDesliga*>(old)) onOff->ThresholdLevel = c.threshold;
  host.variableDialog.kindOnShow = static_cast<KindCode>(c.from);
  host.variableDialog.kindChosen = static_cast<KindCode>(c.to);
  DoubleClickOn(*old);

  ASSERT_EQ(editor.Variables.size(), 1u);
  TVariavel& v = *editor.Variables[0];
  EXPECT_EQ(Live::variables, 0);
  EXPECT_DOUBLE_EQ(double(v.Level), c.expectLevel);
  auto* onOff = dynamic_cast<TVarLigaDesliga*>(&v);
  EXPECT_EQ(onOff != nullptr, c.to / 10 == 2);
  EXPECT_EQ(dynamic_cast<TVarContinuaQualquerValor*>(&v) ||
                dynamic_cast<TVarLigaDesligaQualquerValor*>(&v),
            c.to % 10 == 2);
  if (onOff) {
    EXPECT_DOUBLE_EQ(double(onOff->ThresholdLevel), c.expectThreshold);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Classes, ReplacementTest,
    testing::Values(
        ReplacementCase{"any_value_to_positive_clamps", 12, 11, -0.3, 0, 0.0, 0},
        ReplacementCase{"positive_to_any_value_keeps", 11, 12, 0.4, 0, 0.4, 0},
        ReplacementCase{"on_off_to_on_off_keeps_threshold", 21, 22, 0.2, 0.6, 0.2, 0.6},
        ReplacementCase{"any_on_off_to_on_off_clamps_threshold", 22, 21, -0.5, -0.4, 0.0, 0.0},
        ReplacementCase{"continuous_to_on_off_takes_new_threshold", 12, 22, -0.5, 0, -0.5, 0.0},
        ReplacementCase{"on_off_to_continuous", 21, 11, 0.9, 0.3, 0.9, 0},
        // Only a file holds such values; they have no double to pass on.
        ReplacementCase{"levels_beyond_the_double_range_clamp", 22, 21, 1e4000L, -1e4000L, 1.0,
                        0.0},
        ReplacementCase{"negative_beyond_the_double_range_clamps", 11, 12, -1e4000L, 0, -1.0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, AVariableLinkedToItselfIsReplacedWithBothEndsRepointed) {
  auto& a = AddRaw<TVarContinua>(300, 300);
  auto& b = AddRaw<TVarContinua>(600, 300);
  CountedRelationship& self = AddRawLink(a, a);
  CountedRelationship& twin1 = AddRawLink(a, b);
  CountedRelationship& twin2 = AddRawLink(a, b);
  b.InputKind = RelationshipKind::Rate;
  const std::vector<TRelacionamento*> order = a.Relationships;
  ASSERT_EQ(order.size(), 4u);

  host.variableDialog.kindOnShow = KindCode::ContinuousPositive;
  host.variableDialog.kindChosen = KindCode::ContinuousAnyValue;
  DoubleClickOn(a);

  TVariavel* v = editor.Variables.back().get();
  EXPECT_EQ(Live::variables, 1);
  EXPECT_EQ(Live::relationships, 3);
  EXPECT_EQ(v->Relationships, order);
  EXPECT_EQ(self.Origin, v);
  EXPECT_EQ(self.Destination, v);
  EXPECT_EQ(twin1.Origin, v);
  EXPECT_EQ(twin2.Origin, v);

  editor.MouseDown(v->X, v->Y);
  editor.MouseUp();
  editor.DeleteSelected();
  EXPECT_EQ(Live::variables, 1);
  EXPECT_EQ(Live::relationships, 0);
  EXPECT_TRUE(b.Relationships.empty());
  EXPECT_EQ(b.InputKind, RelationshipKind::Proportion);
}

TEST_F(DialogTest, DeletingAVariableLinkedToItselfFreesTheLinkOnce) {
  auto& a = AddRaw<TVarContinua>(300, 300);
  auto& b = AddRaw<TVarContinua>(600, 300);
  AddRawLink(a, a);
  AddRawLink(b, a);
  AddRawLink(a, a);
  Click(a);
  editor.DeleteSelected();
  EXPECT_EQ(Live::variables, 1);
  EXPECT_EQ(Live::relationships, 0);
  EXPECT_TRUE(editor.Relationships.empty());
  EXPECT_TRUE(b.Relationships.empty());
}

TEST_F(DialogTest, RecordsNoEditorMakesAreDrawnAndAnimatedWithoutHarm) {
  auto& a = AddRaw<TVarContinua>(300, 300);
  auto& b = AddRaw<TVarLigaDesliga>(600, 300);
  a.Level = 0.5;
  CountedRelationship& self = AddRawLink(a, a);
  self.SetPosition(300, 450);
  self.Kind = static_cast<RelationshipKind>(7);
  self.Effect = 3.3;
  CountedRelationship& odd = AddRawLink(a, b);
  odd.Kind = static_cast<RelationshipKind>(-1);
  odd.Effect = -1e300;
  b.CombineMode = static_cast<CombineMode>(9);
  b.InputKind = static_cast<RelationshipKind>(0);
  b.EffectWhenOn = static_cast<EffectWhenOn>(42);
  editor.Paint();
  editor.StartAnimation();
  for (int i = 0; i < 3; ++i) editor.Tick();
  editor.StopAnimation();
  for (const auto& v : editor.Variables) {
    EXPECT_LE(v->InnerValue, 6);
    EXPECT_GE(v->InnerValue, -6);
  }
  Click(self);
  editor.DeleteSelected();
  EXPECT_EQ(Live::relationships, 1);
  EXPECT_EQ(a.Relationships, std::vector<TRelacionamento*>{&odd});
}

TEST_F(DialogTest, AKindCodeOutsideTheFourLeavesTheVariableAsItIs) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TVariavel& a = Place(300, 300);
  host.variableDialog.kindOnShow = KindCode::ContinuousPositive;
  host.variableDialog.kindChosen = static_cast<KindCode>(13);
  Click(a);
  EXPECT_DEBUG_DEATH(editor.DoubleClick(), "kind code");
  ASSERT_EQ(editor.Variables.size(), 1u);
  EXPECT_EQ(editor.Variables[0].get(), &a);
  EXPECT_EQ(host.variableDialog.applied, 0);
  EXPECT_EQ(editor.CurrentObject, &a);
}

}  // namespace
}  // namespace editor_test
