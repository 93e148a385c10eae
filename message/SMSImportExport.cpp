// CSMSOperate: messages imported from files and exported to them. The
// library's export helper reads and writes the files; the module asks for
// the file, says what to export by where the request came from, runs the
// shared progress window and shows the phone again after an import.
#include "contact/PortDialogs.h"
#include "content/ContentUri.h"
#include "content/PimMessages.h"
#include "controls/QsTreeView.h"
#include "controls/ResText.h"
#include "controls/SuperGrid.h"
#include "frame/AppInterface.h"
#include "frame/suite/BaseLibrary.h"
#include "framework/PopupMenu.h"
#include "message/SMSOperate.h"

using namespace Message;
namespace U = ContentUri;

namespace {
constexpr const char* kTag = "CSMSOperate";
void Info(const char* line) { LOG::I(kTag, "%s", line); }
}  // namespace

void CSMSOperate::ShowExportMenu(POINT screen) {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, kCmdExportXml, L"XML");
  ::AppendMenuW(menu, MF_STRING, kCmdExportExcel, L"EXCEL");
  wf::TrackPopup(menu, screen.x, screen.y, m_controls.mainWindow);
  ::DestroyMenu(menu);
}

void CSMSOperate::ImportExportXml() { ImportExport(false); }

void CSMSOperate::ImportExportExcel() {
  m_progressShown = false;
  m_portFinished = false;
  if (!port::ExcelInstalled()) {
    Tell(L"pim.port.noinstalltip", L"common.messagebox.tamixtip");
    return;
  }
  ImportExport(true);
}

void CSMSOperate::ImportExport(bool excel) {
  m_progressShown = false;
  m_portFinished = false;
  IExportHelper* helper = m_owner.ExportHelper();
  if (!helper) return;
  const bool import = m_menuOrigin == kOriginImport;
  std::wstring path;
  HWND active = ::GetActiveWindow();
  if (!port::AskFile(active ? active : m_controls.mainWindow, excel ? port::FileKind::kExcel : port::FileKind::kXml,
                     import, path))
    return;
  if (import) {
    const wchar_t* uri = excel ? (m_noFolders ? U::kSmsImportExcelNoFolders : U::kSmsImportExcel)
                               : (m_noFolders ? U::kSmsImportXmlNoFolders : U::kSmsImportXml);
    helper->Import(uri, std::list<std::wstring>{path});
    if (m_controls.mainWindow)
      ::SendMessageW(m_controls.mainWindow, pim_msg::kImportExportStep, pim_msg::kModuleMessages,
                     pim_msg::kStepImportStarted);
    return;
  }
  const wchar_t* uri = excel ? U::kSmsExportExcel : U::kSmsExportXml;
  IdList ids;
  switch (m_menuOrigin) {
    case kOriginFolderTree: {
      int32_t folder = FolderIdOf(m_menuFolder ? m_menuFolder : ShownFolderItem());
      if (folder < 0) return;
      helper->ExportByClassId(uri, path, static_cast<ContentId>(folder));
      break;
    }
    case kOriginConversationTree:
      if (m_selectedConversation < 0 || m_selectedConversation >= static_cast<int>(m_conversations.size())) return;
      for (const CSMSData& message : m_conversations[m_selectedConversation].messages) ids.push_back(message.m_id);
      helper->ExportByIds(uri, path, ids);
      break;
    case kOriginList:
      for (int row : SelectedMessageRows()) ids.push_back(m_rows.At(row).message.m_id);
      if (ids.empty()) return;
      helper->ExportByIds(uri, path, ids);
      break;
    case kOriginConversationWindow:
      for (const CSMSData& message : m_chat.CheckedMessages()) ids.push_back(message.m_id);
      if (ids.empty()) return;  // nothing checked: nothing to write
      helper->ExportByIds(uri, path, ids);
      break;
    default:
      return;
  }
  if (m_controls.mainWindow)
    ::SendMessageW(m_controls.mainWindow, pim_msg::kImportExportStep, pim_msg::kModuleMessages,
                   pim_msg::kStepExportStarted);
}

void CSMSOperate::RunProgress(const wchar_t* titleKey, const wchar_t* messageKey) {
  if (m_portFinished) return;  // the end came first: nothing to wait for
  if (m_controls.host) m_controls.host->SetRunningTask(qs::ResText(L"common.tamixtip.runningtask"), true);
  m_progress.SetTexts(qs::ResText(titleKey), qs::ResText(messageKey));
  m_progressShown = true;
  HWND active = ::GetActiveWindow();
  if (m_progress.Run(active ? active : m_controls.mainWindow) == CPimProgressWnd::kCancelled) {
    m_progressShown = false;
    m_portFinished = true;
    if (IExportHelper* helper = m_owner.ExportHelper()) helper->CancelExport();
  }
}

void CSMSOperate::ShowImportProgress() { RunProgress(L"common.import", L"pim.static.importing"); }
void CSMSOperate::ShowExportProgress() { RunProgress(L"common.export", L"pim.static.exporting"); }

void CSMSOperate::CloseProgress() {
  m_portFinished = true;
  if (m_progressShown) {
    m_progress.Close(0);
    m_progressShown = false;
  }
  if (m_controls.host) m_controls.host->SetRunningTask(L"", false);
}

bool CSMSOperate::OnSetProgress(uint32_t done, uint32_t total) {
  return Answer([&] {
    Info("CSMSOperate:OnSetProgress ++++");
    if (m_progressShown) m_progress.SetProgress(done, total);
  });
}

bool CSMSOperate::OnImportComplete(const std::wstring&, uint32_t) {
  return Answer([&] {
    if (m_controls.mainWindow)
      ::SendMessageW(m_controls.mainWindow, pim_msg::kImportExportStep, pim_msg::kModuleMessages,
                     pim_msg::kStepFinished);
    Info("ImportMessage Complete Callback");
    IDataProvider* provider = m_owner.Provider();
    if (!provider) return;
    // Whatever came in, the page shows the phone again.
    if (!m_conversationMode) {
      Info("CSMSOperate:QueryAll by folder ++++");
      provider->QueryAll(U::kFolder);
      if (m_controls.folderTree) m_controls.folderTree->Invalidate();
    } else {
      Info("CSMSOperate:QueryAll by phonenumber ++++");
      provider->QueryAll(U::kConversations);
    }
  });
}

bool CSMSOperate::OnExportComplete(const std::wstring&, uint32_t) {
  return Answer([&] {
    if (m_controls.mainWindow)
      ::SendMessageW(m_controls.mainWindow, pim_msg::kImportExportStep, pim_msg::kModuleMessages,
                     pim_msg::kStepFinished);
    Info("CSMSOperate:OnExportComplete ++++");
  });
}
