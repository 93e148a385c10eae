// HandsetPort: the library's import and export files from the command line,
// against a handset file, for checks by other programs and for the demo.
//
//   HandsetPort.exe export --handset <file> --what contacts|messages
//                   --format xml|xlsx|xls|vcard --out <file or folder> [--language en|zh-cn|zh-tw]
//   HandsetPort.exe import --handset <file> --what contacts|messages
//                   --format xml|excel|vcard --in <file or folder> [--ignore-folders]
//   HandsetPort.exe dump --handset <file> --what contacts|messages
//
// export writes every phone contact, or every message of every folder; import
// adds to the handset (a new one when the file does not exist yet); dump
// prints what a user sees of each record as one JSON object per line (UTF-8).
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "EmbeddedData.h"
#include "files/PortRuns.h"
#include "files/SheetPort.h"
#include "files/TextCodec.h"
#include "framework/Text.h"
#include "handset/HandsetFile.h"
#include "handset/IndexText.h"

namespace {

int Fail(const std::wstring& message) {
  std::fputs(wf::ToUtf8(L"HandsetPort: " + message + L"\n").c_str(), stderr);
  return 1;
}

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (unsigned char c : files::ToUtf8(text)) {
    if (c == '"' || c == '\\') out += '\\', out += static_cast<char>(c);
    else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else out += static_cast<char>(c);
  }
  return out + "\"";
}

// Sorted, so that two dumps of the same records compare equal line by line
// whatever order a file kept their entries in.
template <class Items, class Fn>
std::string JsonList(const Items& items, Fn text) {
  std::vector<std::wstring> texts;
  for (const auto& item : items) texts.push_back(text(item));
  std::sort(texts.begin(), texts.end());
  std::string out = "[";
  for (const auto& item : texts) out += (out.size() > 1 ? "," : "") + Json(item);
  return out + "]";
}

void DumpContacts(const handset::Store& store) {
  ContentList records;
  store.CollectContacts(handset::Book::Phone, {}, records);
  for (CContent* record : records) {
    const auto& c = *static_cast<Contact::CContactData*>(record);
    std::string line = "{\"name\":" + Json(c.m_name[Contact::kDisplayName]);
    line += ",\"family\":" + Json(c.m_name[Contact::kFamilyName]) + ",\"given\":" + Json(c.m_name[Contact::kGivenName]);
    line += ",\"phones\":" + JsonList(c.m_phones, [](const auto& p) { return std::to_wstring(p.m_type) + L":" + p.m_data; });
    line += ",\"emails\":" + JsonList(c.m_emails, [](const auto& e) { return e.m_data; });
    line += ",\"company\":" + Json(c.m_organizations.empty() ? L"" : c.m_organizations[0].m_data.m_company);
    line += ",\"title\":" + Json(c.m_organizations.empty() ? L"" : c.m_organizations[0].m_data.m_title);
    line += ",\"groups\":" + JsonList(c.m_groupNames, [](const auto& g) { return g; });
    line += ",\"notes\":" + JsonList(c.m_notes, [](const auto& n) { return n; });
    line += ",\"starred\":" + std::string(c.m_starred ? "true" : "false") + "}\n";
    std::fputs(line.c_str(), stdout);
  }
  DeleteContents(records);
}

void DumpMessages(const handset::Store& store) {
  for (const Message::CSMSData* m : store.MessagesNewestFirst()) {
    std::string line = "{\"number\":" + Json(m->m_phoneNumber) + ",\"time\":" + Json(m->m_time);
    // A user folder by its name: its id is the handset's own.
    std::unique_ptr<Message::CFolder> folder{store.CopyFolder(m->m_folderId)};
    std::wstring where = !folder ? L"?" : folder->IsSystem() ? L"system " + std::to_wstring(m->m_folderId) : folder->m_name;
    line += ",\"body\":" + Json(m->m_body) + ",\"folder\":" + Json(where);
    line += ",\"read\":" + std::string(m->m_read ? "true" : "false");
    line += ",\"locked\":" + std::string(m->m_lock ? "true" : "false") + "}\n";
    std::fputs(line.c_str(), stdout);
  }
}

bool FormatOf(const std::wstring& name, files::PortFormat& format) {
  if (name == L"xml") format = files::PortFormat::Xml;
  else if (name == L"xlsx" || name == L"xls" || name == L"excel") format = files::PortFormat::Excel;
  else if (name == L"vcard") format = files::PortFormat::VCard;
  else return false;
  return true;
}

}  // namespace

int wmain() {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argc < 2) return Fail(L"export, import or dump, see the top of HandsetPort.cpp");
  std::wstring command = argv[1];
  std::map<std::wstring, std::wstring> options;
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--ignore-folders") options[arg] = L"1";
    else if (i + 1 < argc) options[arg] = argv[++i];
    else return Fail(arg + L" needs a value");
  }
  ::LocalFree(argv);
  std::wstring handsetPath = options[L"--handset"], what = options[L"--what"];
  if (handsetPath.empty() || (what != L"contacts" && what != L"messages"))
    return Fail(L"--handset <file> and --what contacts|messages are needed");

  handset::LoadPinyinTable(provider::kPinyinData);
  handset::Store store;
  handset::LoadResult loaded = handset::LoadHandsetFile(handsetPath, store);
  if (loaded.kind == handset::LoadResult::kDamaged) return Fail(handsetPath + L" " + loaded.problem);
  const bool contacts = what == L"contacts";

  if (command == L"dump") {
    contacts ? DumpContacts(store) : DumpMessages(store);
    return 0;
  }
  files::PortFormat format;
  std::wstring formatName = options[L"--format"];
  if (!FormatOf(formatName, format)) return Fail(L"--format xml|xlsx|xls|vcard is needed");
  files::Progress quiet = [](size_t, size_t) { return true; };
  files::PortOutcome outcome;
  if (command == L"export") {
    std::wstring out = options[L"--out"];
    if (out.empty()) return Fail(L"--out is needed");
    std::wstring language = options[L"--language"];
    int lang = language == L"zh-cn" ? files::kSimplifiedChinese
               : language == L"zh-tw" ? files::kTraditionalChinese
                                      : files::kEnglish;
    if (contacts) {
      outcome = files::ExportContacts(store, {}, format, out, lang, quiet);
    } else {
      // Every message: the ids of all of them.
      files::MessageScope scope;
      scope.ids.emplace();
      for (const Message::CSMSData* m : store.MessagesNewestFirst()) scope.ids->push_back(m->m_id);
      outcome = files::ExportMessages(store, scope, format, out, lang, quiet);
    }
  } else if (command == L"import") {
    std::wstring in = options[L"--in"];
    if (in.empty()) return Fail(L"--in is needed");
    outcome = contacts ? files::ImportContacts(store, format, {in}, quiet)
                       : files::ImportMessages(store, format, {in}, options.count(L"--ignore-folders") > 0, quiet);
    std::wstring error;
    if (outcome.kind == files::PortOutcome::kDone && !handset::SaveHandsetFile(handsetPath, store, error))
      return Fail(error);
  } else {
    return Fail(L"unknown command " + command);
  }
  if (!outcome.problem.empty()) std::fputs(wf::ToUtf8(outcome.problem + L"\n").c_str(), stderr);
  if (outcome.kind == files::PortOutcome::kFailed) return Fail(outcome.problem);
  std::printf("HandsetPort: %s %zu %s (%zu skipped)\n", wf::ToUtf8(command).c_str(), outcome.moved,
              wf::ToUtf8(what).c_str(), outcome.skipped);
  return outcome.kind == files::PortOutcome::kDone ? 0 : 2;
}
