// What one import or export moves: the records of a module with the
// containers they belong to (groups for contacts, folders for messages).
#pragma once
#include <vector>

#include "contact/ContactData.h"
#include "message/MessageData.h"

namespace files {

struct ContactSet {
  std::vector<Contact::CContactData> contacts;  // m_groupNames name their groups
  std::vector<Contact::CGroupData> groups;
};

struct MessageSet {
  std::vector<Message::CSMSData> messages;  // m_folderId refers to a folder below or a system folder
  std::vector<Message::CFolder> folders;    // the user folders the messages are in
};

}  // namespace files
