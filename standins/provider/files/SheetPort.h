// Records as spreadsheet rows: one row per contact or message under a header
// row of column titles in the suite's language. Reading matches columns by
// their titles in any of the three languages, in any order, so a sheet a
// user rearranged or saved from a spreadsheet program still imports.
#pragma once
#include <string>

#include "PortRecords.h"
#include "Sheet.h"
#include "TextCodec.h"

namespace files {

// The suite's languages, numbered as its resource library numbers them.
enum SheetLanguage : int { kSimplifiedChinese = 0, kTraditionalChinese = 1, kEnglish = 2 };

// Each answers false only when cancelled (tick answered false).
bool ContactsToSheet(const ContactSet& set, int language, Sheet& sheet, const Tick& tick = {});
bool MessagesToSheet(const MessageSet& set, int language, Sheet& sheet, const Tick& tick = {});

// False with a readable reason when the header row names none of the known
// columns, or when cancelled (empty reason). Empty rows are skipped.
bool SheetToContacts(const Sheet& sheet, ContactSet& set, std::wstring& error, const Tick& tick = {});
// Folders are named in the sheet: system folders by their name in any
// language, the others become user folders of `set.folders` (ids from 100).
bool SheetToMessages(const Sheet& sheet, MessageSet& set, std::wstring& error, const Tick& tick = {});

// "2026-03-01 10:10:10" and back; reading also takes "2026/3/1 10:10",
// the stored form "20260301T101010Z" and a spreadsheet's serial day number
// (46082.42...). False when the text is none of these.
std::wstring SheetTime(const std::wstring& stored);
bool StoredTime(const std::wstring& shown, std::wstring& stored);

}  // namespace files
