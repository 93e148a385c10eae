// The contacts module's window-free rules: tree totals, the
// toolbar state and the context menus' disabled items.
#include <gtest/gtest.h>

#include "contact/ContactRules.h"

namespace {

using namespace Contact;
using Items = std::set<UINT>;

TEST(ContactTree, TheTotalCountsPhoneAndReportedCardsButNeverFavourites) {
  ContactCounts counts;
  counts.phone = 120;
  counts.favourites = 12;
  counts.cardOne = 40;  // an answer for a card whose node does not exist
  EXPECT_EQ(counts.Total(), 120u);
  counts.hasCardOne = true;
  counts.hasCardTwo = true;
  counts.cardTwo = 7;
  EXPECT_EQ(counts.Total(), 167u);
  EXPECT_EQ(CountedLabel(L"Total", counts.Total()), L"Total(167)");
  EXPECT_EQ(CountedLabel(L"\u5168\u90e8", 0), L"\u5168\u90e8(0)");
}

TEST(ContactToolbar, DeleteNeedsRowsNoRefreshAndNoCardExportNeedsRows) {
  ContactToolbarState empty = ToolbarState(true, false, ContactNode::kPhone);
  EXPECT_FALSE(empty.deleteEnabled);
  EXPECT_FALSE(empty.exportEnabled);
  ContactToolbarState phone = ToolbarState(false, false, ContactNode::kPhone);
  EXPECT_TRUE(phone.deleteEnabled);
  EXPECT_TRUE(phone.exportEnabled);
  EXPECT_FALSE(ToolbarState(false, true, ContactNode::kGroup).deleteEnabled);
  ContactToolbarState card = ToolbarState(false, false, ContactNode::kCardTwo);
  EXPECT_FALSE(card.deleteEnabled);
  EXPECT_TRUE(card.exportEnabled);
}

TEST(ContactMenus, TheTreeMenuDisablesForTheClickedItemAndForAnEmptyListTogether) {
  EXPECT_EQ(DisabledTreeMenuItems(ContactNode::kGroup, true), Items{});
  EXPECT_EQ(DisabledTreeMenuItems(ContactNode::kCardOne, false),
            (Items{kCmdNewGroup, kCmdEditGroup, kCmdDeleteGroup, kCmdSendGroupMessage, kExportSubmenu}));
}

TEST(ContactMenus, TheListMenuFollowsTheRowTheCurrentNodeTheSelectionAndTheRefresh) {
  ListMenuContext header;
  header.onContactRow = false;
  EXPECT_EQ(DisabledListMenuItems(header), (Items{kCmdSendMessage, kCmdReadMessages, kCmdEditContact,
                                                  kCmdDeleteContact, kCmdRemoveFromGroup, kAddToGroupSubmenu}));
  ListMenuContext one;
  one.onContactRow = true;
  one.selectedRows = one.selectedContacts = 1;
  EXPECT_EQ(DisabledListMenuItems(one), Items{kCmdRemoveFromGroup});
  one.current = ContactNode::kCardOne;
  EXPECT_EQ(DisabledListMenuItems(one),
            (Items{kCmdEditContact, kCmdDeleteContact, kCmdRemoveFromGroup, kAddToGroupSubmenu}));
  one.current = ContactNode::kFavourites;
  EXPECT_EQ(DisabledListMenuItems(one), Items{kCmdStar});
  one.current = ContactNode::kGroup;
  one.currentGroupIndex = 2;
  EXPECT_EQ(DisabledListMenuItems(one), Items{kCmdAddToGroupFirst + 2}) << "a group cannot take its own members";
  one.selectedRows = one.selectedContacts = 2;
  one.refreshing = true;
  EXPECT_EQ(DisabledListMenuItems(one),
            (Items{kCmdAddToGroupFirst + 2, kCmdEditContact, kCmdReadMessages, kCmdRefresh}));
}

}  // namespace
