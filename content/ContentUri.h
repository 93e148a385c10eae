// Content URIs: every request names its table and kind of query with one of
// these literals, and the library hands the same text back in its reply, where
// it is compared as a whole string to tell what the reply is.
//
//   uri       = "content://" authority [ "/" table [ "/" qualifier ] ] { "?" option }
//   authority = contact | sms | calendar
#pragma once

namespace ContentUri {

// Contacts.
inline constexpr const wchar_t* kContactStore = L"content://contact";  // full refresh
inline constexpr const wchar_t* kContact = L"content://contact/contact";
inline constexpr const wchar_t* kContactStar = L"content://contact/contact/star";
inline constexpr const wchar_t* kContactGsm = L"content://contact/gsm";    // card two
inline constexpr const wchar_t* kContactCdma = L"content://contact/cdma";  // card one
inline constexpr const wchar_t* kContactCount = L"content://contact/contact?result=count";
inline constexpr const wchar_t* kCdmaCount = L"content://contact/cdma?result=count";
inline constexpr const wchar_t* kGsmCount = L"content://contact/gsm?result=count";
inline constexpr const wchar_t* kStarCount = L"content://contact/contact/star?result=count";
inline constexpr const wchar_t* kGroup = L"content://contact/group";
inline constexpr const wchar_t* kMembership = L"content://contact/membership";
inline constexpr const wchar_t* kContactImportXml = L"content://contact/contact?import=xml";
inline constexpr const wchar_t* kContactImportExcel = L"content://contact/contact?import=excel";
inline constexpr const wchar_t* kContactImportVcard = L"content://contact/contact?import=vcard";
// Contact exports append one of these to the URI of the list shown.
inline constexpr const wchar_t* kExportXmlSuffix = L"?export=xml";
inline constexpr const wchar_t* kExportExcelSuffix = L"?export=excel";
inline constexpr const wchar_t* kExportVcardSuffix = L"?export=vcard";

// Messages.
inline constexpr const wchar_t* kSmsStore = L"content://sms";  // full refresh
inline constexpr const wchar_t* kSms = L"content://sms/sms";
inline constexpr const wchar_t* kFolder = L"content://sms/folder";
inline constexpr const wchar_t* kRemembership = L"content://sms/remembership";
inline constexpr const wchar_t* kSmsInFolder = L"content://sms/sms?folder";
inline constexpr const wchar_t* kSmsOfNumber = L"content://sms/sms?temphonenumber";
inline constexpr const wchar_t* kConversations = L"content://sms/sms?groupby=telephonenumber";
inline constexpr const wchar_t* kSmsNewInsert = L"content://sms/sms?newInsertData";
inline constexpr const wchar_t* kSmsImportXml = L"content://sms/sms?import=xml?import";
inline constexpr const wchar_t* kSmsImportXmlNoFolders = L"content://sms/sms?import=xml?import?ignorefolder=true";
inline constexpr const wchar_t* kSmsImportExcel = L"content://sms/sms?import=excel?import";
inline constexpr const wchar_t* kSmsImportExcelNoFolders = L"content://sms/sms?import=excel?import?ignorefolder=true";
inline constexpr const wchar_t* kSmsExportXml = L"content://sms/sms?export=xml?export";
inline constexpr const wchar_t* kSmsExportExcel = L"content://sms/sms?export=excel?export";

// Calendar.
inline constexpr const wchar_t* kCalendar = L"content://calendar/calendar";
inline constexpr const wchar_t* kCalendarByDate = L"content://calendar/calendar/result=date";

}  // namespace ContentUri
