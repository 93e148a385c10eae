// The XML files of contacts (with their groups) and of messages (with their
// folders), written and read with the platform's XmlLite. UTF-8, well-formed,
// every field of the records kept; the format is described in
// docs/FILE-FORMATS.md.
#pragma once
#include <string>
#include <string_view>

#include "PortRecords.h"
#include "TextCodec.h"

namespace files {

// Each answers false with a readable `error` (for a read: where the document
// is wrong); a cancelled run (tick answered false) answers false with an empty error.
bool WriteContactsXml(const ContactSet& set, std::string& bytes, std::wstring& error, const Tick& tick = {});
bool ReadContactsXml(std::string_view bytes, ContactSet& set, std::wstring& error, const Tick& tick = {});
// `withFolders`: the folders and each message's folder are written; without
// them the messages carry no folder.
bool WriteMessagesXml(const MessageSet& set, bool withFolders, std::string& bytes, std::wstring& error,
                      const Tick& tick = {});
bool ReadMessagesXml(std::string_view bytes, MessageSet& set, std::wstring& error, const Tick& tick = {});

}  // namespace files
