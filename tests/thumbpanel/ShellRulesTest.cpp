#include <gtest/gtest.h>

#include "thumbpanel/DragDropRules.h"
#include "thumbpanel/ShellMenuRules.h"

using namespace thumbpanel;

namespace {

TEST(ShellVerbRules, AttributeGates) {
  EXPECT_TRUE(VerbAllowed("copy", sfgao::CanCopy, false));
  EXPECT_FALSE(VerbAllowed("copy", sfgao::CanDelete, false));
  // The desktop's exception is for the deleting verbs only.
  EXPECT_FALSE(VerbAllowed("copy", 0, true));
  for (const char* verb : {"cut", "delete"}) {
    EXPECT_TRUE(VerbAllowed(verb, sfgao::CanDelete, false)) << verb;
    EXPECT_FALSE(VerbAllowed(verb, sfgao::CanCopy, false)) << verb;
    EXPECT_TRUE(VerbAllowed(verb, 0, true)) << verb;
  }
  EXPECT_TRUE(VerbAllowed("paste", 0, false));
}

TEST(ShellMenuRules, FlagsOfTheContextMenuType) {
  const TContextMenuType mainWindow{ictExplore, ictCanRename};
  EXPECT_EQ(ContextMenuFlags(mainWindow, false), cmf::Explore);
  EXPECT_EQ(ContextMenuFlags(mainWindow, true), cmf::Explore | cmf::CanRename);
  EXPECT_EQ(ContextMenuFlags({ictNormal}, true), 0u);
  const TContextMenuType all{ictNormal,    ictDefaultOnly, ictVerbsOnly,     ictExplore, ictNoverbs,
                             ictCanRename, ictNoDefault,   ictIncludeStatic, ictReserved};
  EXPECT_EQ(ContextMenuFlags(all, false), 0xFFFF006Fu);
}

TEST(ShellMenuRules, CommandsSplitIntoOwnerAndShellWithOffset18Skipped) {
  using C = TPanelMenuChoice;
  EXPECT_EQ(ClassifyMenuCommand(0, 3), C{});
  EXPECT_EQ(ClassifyMenuCommand(3, 3), (C{C::Owner, 3}));
  EXPECT_EQ(ClassifyMenuCommand(4, 3), (C{C::Shell, 0}));
  EXPECT_EQ(ClassifyMenuCommand(3 + 1 + 17, 3), (C{C::Shell, 17}));
  EXPECT_EQ(ClassifyMenuCommand(3 + 1 + 18, 3), C{});
  EXPECT_EQ(ClassifyMenuCommand(1, 0), (C{C::Shell, 0}));
  EXPECT_EQ(ClassifyMenuCommand(LastShellCommand + 1, 0), C{});
  EXPECT_EQ(ShellMenuPosition(3, 0), 0u);
  EXPECT_EQ(ShellMenuPosition(3, 10), 3u);
  EXPECT_EQ(ShellMenuPosition(3, -5), 0u);
}

TEST(ShellMenuRules, HintIsCutAtACharacterBoundaryAndBlankWhenEmpty) {
  EXPECT_EQ(MenuHintText(""), " ");
  EXPECT_EQ(MenuHintText(std::string(250, 'a')), std::string(200, 'a'));
  // A double-byte character in bytes 199-200 goes whole rather than in half.
  const std::string text = std::string(199, 'a') + "\x83\x41" + "b";
  EXPECT_EQ(MenuHintText(text), std::string(199, 'a'));
  EXPECT_EQ(MenuHintText(std::string(198, 'a') + "\x83\x41"), text.substr(1, 198) + "\x83\x41");
}

TEST(DragDropRules, DropSourceStepsAndEffects) {
  EXPECT_EQ(PanelDragStep(true, mk::LButton), TDragStep::Cancel);
  EXPECT_EQ(PanelDragStep(false, mk::LButton | mk::RButton), TDragStep::Cancel);
  EXPECT_EQ(PanelDragStep(false, mk::RButton | mk::Control), TDragStep::Continue);
  EXPECT_EQ(PanelDragStep(false, mk::Shift), TDragStep::Drop);

  EXPECT_EQ(DragTypeEffects({idtCopy, idtMove, idtLink}), 7u);
  EXPECT_EQ(DragTypeEffects({idtLink}), dropeffect::Link);
  EXPECT_EQ(DragTypeEffects({}), dropeffect::None);

  EXPECT_EQ(ProposedEffect(mk::LButton), dropeffect::Move);
  EXPECT_EQ(ProposedEffect(mk::Shift), dropeffect::Move);
  EXPECT_EQ(ProposedEffect(mk::Control), dropeffect::Copy);
  EXPECT_EQ(ProposedEffect(mk::Control | mk::Shift), dropeffect::Link);

  const TShiftState s = KeyStateShift(mk::Shift | mk::Alt | mk::RButton | mk::MButton);
  EXPECT_EQ(s, (TShiftState{ssShift, ssAlt, ssRight, ssMiddle}));
  EXPECT_EQ(KeyStateShift(mk::Control | mk::LButton), (TShiftState{ssCtrl, ssLeft}));
}

TEST(DragDropRules, AutoScrollNearTheEdgesAtMostEvery300Ms) {
  TDragAutoScroll scroll;
  TDragAutoScroll::TEdges edges{200, 16, 0, true};
  EXPECT_EQ(scroll.Step(100, edges, 1000), std::nullopt);
  EXPECT_EQ(scroll.Step(15, edges, 1000), sbLineUp);
  EXPECT_EQ(scroll.Step(15, edges, 1299), std::nullopt);
  EXPECT_EQ(scroll.Step(190, edges, 1300), sbLineDown);
  // The thumb inset moves the bottom band up.
  edges.BottomInset = 20;
  EXPECT_EQ(scroll.Step(165, edges, 1600), sbLineDown);
  EXPECT_EQ(scroll.Step(163, edges, 1900), std::nullopt);
  // A tick counter that wrapped still counts the time since.
  scroll.Reset();
  EXPECT_EQ(scroll.Step(0, edges, 0xFFFFFF00u), sbLineUp);
  EXPECT_EQ(scroll.Step(0, edges, 0x10u), std::nullopt);
  EXPECT_EQ(scroll.Step(0, edges, 0x100u), sbLineUp);
  edges.HasScrollBar = false;
  EXPECT_EQ(scroll.Step(0, edges, 0x1000u), std::nullopt);
}

}  // namespace
