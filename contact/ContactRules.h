// The contacts module's rules that need no window: the tree's counted labels
// and total, the names of SIM card nodes, the toolbar state, and which items
// of the tree and list menus are disabled. The controller applies them to
// its controls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>

namespace Contact {

// Commands of the module's context menus.
enum ContactCommand : UINT {
  kCmdSendGroupMessage = 41052,
  kCmdNewGroup = 41053,
  kCmdEditGroup = 41054,
  kCmdDeleteGroup = 41055,
  kCmdExportXml = 41056,
  kCmdExportExcel = 41057,
  kCmdExportVcard = 41058,
  kCmdSendMessage = 41059,
  kCmdReadMessages = 41060,
  kCmdRefresh = 41067,
  kCmdNewContact = 41068,
  kCmdEditContact = 41069,
  kCmdDeleteContact = 41070,
  kCmdRemoveFromGroup = 41071,
  kCmdStar = 41072,
  kCmdSelectAll = 41073,
  kCmdAddToGroupFirst = 41074,  // + the group's index in the tree
};
// The two submenus, named in the disabled sets like commands.
constexpr UINT kExportSubmenu = 0x10000;
constexpr UINT kAddToGroupSubmenu = 0x10001;

// The kinds of tree item.
enum class ContactNode { kRoot, kGroups, kPhone, kCardOne, kCardTwo, kFavourites, kGroup, kNone };

bool IsCardNode(ContactNode node);
bool IsFixedNode(ContactNode node);  // phone contacts, the two cards, favourites

// name + "(" + count + ")", no blanks.
std::wstring CountedLabel(const std::wstring& name, uint32_t count);

// The counts of the fixed nodes; the root shows the phone's and the cards'
// contacts together, never the favourites.
struct ContactCounts {
  uint32_t phone = 0, cardOne = 0, cardTwo = 0, favourites = 0;
  bool hasCardOne = false, hasCardTwo = false;  // the card's node exists
  uint32_t Total() const { return phone + (hasCardOne ? cardOne : 0) + (hasCardTwo ? cardTwo : 0); }
};

// The resource key of a card node's name: by the network kind the shared
// dialogs report (1 G, 2 C, 3 W network), else by the card's slot.
const wchar_t* CardNameKey(int displayType, int cardId);

// After every change of the list: delete and export off for an empty list;
// otherwise export on, delete on unless refreshing or a card node is current.
struct ContactToolbarState {
  bool deleteEnabled = false;
  bool exportEnabled = false;
};
ContactToolbarState ToolbarState(bool listEmpty, bool refreshing, ContactNode current);

// The disabled items of the tree menu for the clicked item.
std::set<UINT> DisabledTreeMenuItems(ContactNode clicked, bool listHasRows);

// What the list menu is opened on.
struct ListMenuContext {
  ContactNode current = ContactNode::kPhone;
  bool onContactRow = false;    // the row under the menu is a contact, not a header or nothing
  int selectedRows = 0;         // rows selected in the list
  int selectedContacts = 0;     // of those, contact rows
  bool refreshing = false;
  int currentGroupIndex = -1;   // the current group's index in the tree, when a group is current
};
std::set<UINT> DisabledListMenuItems(const ListMenuContext& context);

}  // namespace Contact
