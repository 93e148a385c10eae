#include "contact/ContactRules.h"

namespace Contact {

bool IsCardNode(ContactNode node) { return node == ContactNode::kCardOne || node == ContactNode::kCardTwo; }

bool IsFixedNode(ContactNode node) {
  return node == ContactNode::kPhone || IsCardNode(node) || node == ContactNode::kFavourites;
}

std::wstring CountedLabel(const std::wstring& name, uint32_t count) {
  return name + L"(" + std::to_wstring(count) + L")";
}

const wchar_t* CardNameKey(int displayType, int cardId) {
  switch (displayType) {
    case 1: return L"pim.gnetcard";
    case 2: return L"pim.cnetcard";
    case 3: return L"pim.wnetcard";
    default: break;
  }
  if (cardId == 1) return L"pim.cardname.one";
  if (cardId == 2) return L"pim.cardname.two";
  return L"pim.unkowncard";
}

ContactToolbarState ToolbarState(bool listEmpty, bool refreshing, ContactNode current) {
  ContactToolbarState state;
  if (listEmpty) return state;
  state.exportEnabled = true;
  state.deleteEnabled = !refreshing && !IsCardNode(current);
  return state;
}

std::set<UINT> DisabledTreeMenuItems(ContactNode clicked, bool listHasRows) {
  std::set<UINT> off;
  if (IsFixedNode(clicked)) off.insert({kCmdNewGroup, kCmdEditGroup, kCmdDeleteGroup});
  if (clicked == ContactNode::kRoot || clicked == ContactNode::kGroups)
    off.insert({kCmdSendGroupMessage, kCmdEditGroup, kCmdDeleteGroup, kExportSubmenu});
  if (!listHasRows) off.insert({kCmdSendGroupMessage, kExportSubmenu});
  return off;
}

std::set<UINT> DisabledListMenuItems(const ListMenuContext& context) {
  std::set<UINT> off;
  if (!context.onContactRow) {
    off.insert({kCmdSendMessage, kCmdReadMessages, kCmdEditContact, kCmdDeleteContact, kCmdRemoveFromGroup,
                kAddToGroupSubmenu});
  } else {
    switch (context.current) {
      case ContactNode::kPhone: off.insert(kCmdRemoveFromGroup); break;
      case ContactNode::kCardOne:
      case ContactNode::kCardTwo:
        off.insert({kCmdEditContact, kCmdDeleteContact, kCmdRemoveFromGroup, kAddToGroupSubmenu});
        break;
      case ContactNode::kFavourites: off.insert(kCmdStar); break;
      case ContactNode::kGroup:
        if (context.currentGroupIndex >= 0) off.insert(kCmdAddToGroupFirst + context.currentGroupIndex);
        break;
      default: break;
    }
    if (context.selectedRows > 3 || context.selectedContacts != 1) off.insert({kCmdEditContact, kCmdReadMessages});
  }
  if (context.refreshing) off.insert(kCmdRefresh);
  return off;
}

}  // namespace Contact
