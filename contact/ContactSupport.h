// CContactSupport: the contacts module's requests to the data-provider
// library. Every wrapper checks its object first; a missing one is not
// called, an error line naming the operation and the pointer is written to
// the error log, and the call answers false (AttachMembership and
// SearchContact answer true either way). The objects belong to the
// controller's CProviderOwner; the support only calls them.
#pragma once
#include <cstdint>
#include <list>
#include <string>

#include "content/DataProvider.h"

class CContactSupport {
 public:
  CContactSupport() = default;
  CContactSupport(const CContactSupport&) = delete;
  CContactSupport& operator=(const CContactSupport&) = delete;

  bool Insert(const std::wstring& uri, CContent* record);
  bool Update(const std::wstring& uri, CContent* record);
  bool Delete(const std::wstring& uri, const IdList& ids);
  bool AttachMembership(const std::wstring& uri, const IdList& ids, ContentId groupId, bool add);
  bool SearchContact(const std::wstring& uri, const std::wstring& keyword, ContentId classId);
  bool Cancel();
  bool AddCollection(const std::wstring& uri, const IdList& ids, bool star);
  bool QueryByContentId(const std::wstring& uri, ContentId id);
  bool QueryByClassId(const std::wstring& uri, ContentId classId);
  bool QueryAll(const std::wstring& uri);
  bool QueryGroupCount(const std::wstring& uri);
  // Drops what the library holds of the contacts and reads the phone again.
  bool DeleteContactProvider();
  bool GetSimInfo();
  bool Send(const std::wstring& uri, int32_t cardId, const ContentList& messages, int32_t flag);
  bool CancelExport();
  bool Import(const std::wstring& uri, const std::list<std::wstring>& paths);
  bool ImportFromFolder(const std::wstring& uri, const std::wstring& folder);
  bool Export(const std::wstring& uri, const std::wstring& path);
  bool ExportByClassId(const std::wstring& uri, const std::wstring& path, ContentId classId);
  bool ExportByIds(const std::wstring& uri, const std::wstring& path, const IdList& ids);

  IDataProvider* m_pContactProvider = nullptr;
  IInstantMessageHelper* m_pMSGHelper = nullptr;
  IExportHelper* m_pExportHelper = nullptr;
};
