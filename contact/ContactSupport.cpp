#include "contact/ContactSupport.h"

#include "content/ContentUri.h"
#include "frame/suite/BaseLibrary.h"

namespace {

// Writes "In CContactSupport::<operation>() , Error:<pointer> == NULL !".
template <class T>
bool Missing(T* object, const char* operation, const char* pointer) {
  if (object) return false;
  LOG::E(PIM_ERROR_LOG, "In CContactSupport::%s() , Error:%s == NULL !", operation, pointer);
  return true;
}

#define PROVIDER_OR(op) \
  if (Missing(m_pContactProvider, op, "m_pContactProvider")) return false
#define HELPER_OR(op) \
  if (Missing(m_pMSGHelper, op, "m_pMSGHelper")) return false
#define EXPORTER_OR(op) \
  if (Missing(m_pExportHelper, op, "m_pExportHelper")) return false

}  // namespace

bool CContactSupport::Insert(const std::wstring& uri, CContent* record) {
  PROVIDER_OR("Insert");
  return m_pContactProvider->Insert(uri, record);
}

bool CContactSupport::Update(const std::wstring& uri, CContent* record) {
  PROVIDER_OR("Update");
  return m_pContactProvider->Update(uri, record);
}

bool CContactSupport::Delete(const std::wstring& uri, const IdList& ids) {
  PROVIDER_OR("Delete");
  return m_pContactProvider->Delete(uri, ids);
}

bool CContactSupport::AttachMembership(const std::wstring& uri, const IdList& ids, ContentId groupId, bool add) {
  if (!Missing(m_pContactProvider, "AttachMembership", "m_pContactProvider"))
    m_pContactProvider->AttachMembership(uri, ids, groupId, add);
  return true;
}

bool CContactSupport::SearchContact(const std::wstring& uri, const std::wstring& keyword, ContentId classId) {
  if (!Missing(m_pContactProvider, "SearchContact", "m_pContactProvider"))
    m_pContactProvider->SearchContact(uri, keyword, classId);
  return true;
}

bool CContactSupport::Cancel() {
  PROVIDER_OR("Cancel");
  return m_pContactProvider->Cancel();
}

bool CContactSupport::AddCollection(const std::wstring& uri, const IdList& ids, bool star) {
  PROVIDER_OR("AddCollection");
  return m_pContactProvider->AddCollection(uri, ids, star);
}

bool CContactSupport::QueryByContentId(const std::wstring& uri, ContentId id) {
  PROVIDER_OR("QueryByContentId");
  return m_pContactProvider->QueryByContentId(uri, id);
}

bool CContactSupport::QueryByClassId(const std::wstring& uri, ContentId classId) {
  PROVIDER_OR("QueryByClassId");
  return m_pContactProvider->QueryByClassId(uri, classId);
}

bool CContactSupport::QueryAll(const std::wstring& uri) {
  PROVIDER_OR("QueryAll");
  return m_pContactProvider->QueryAll(uri);
}

bool CContactSupport::QueryGroupCount(const std::wstring& uri) {
  PROVIDER_OR("QueryGroupCount");
  return m_pContactProvider->QueryGroupCount(uri);
}

bool CContactSupport::DeleteContactProvider() {
  PROVIDER_OR("DeleteContactProvider");
  return m_pContactProvider->DeleteProvider(ContentUri::kContactStore);
}

bool CContactSupport::GetSimInfo() {
  HELPER_OR("GetSimInfo");
  return m_pMSGHelper->GetSimInfo();
}

bool CContactSupport::Send(const std::wstring& uri, int32_t cardId, const ContentList& messages, int32_t flag) {
  HELPER_OR("Send");
  return m_pMSGHelper->Send(uri, cardId, messages, flag);
}

bool CContactSupport::CancelExport() {
  EXPORTER_OR("CancelExport");
  return m_pExportHelper->CancelExport();
}

bool CContactSupport::Import(const std::wstring& uri, const std::list<std::wstring>& paths) {
  EXPORTER_OR("Import");
  return m_pExportHelper->Import(uri, paths);
}

bool CContactSupport::ImportFromFolder(const std::wstring& uri, const std::wstring& folder) {
  EXPORTER_OR("ImportFromFolder");
  return m_pExportHelper->ImportFromFolder(uri, folder);
}

bool CContactSupport::Export(const std::wstring& uri, const std::wstring& path) {
  EXPORTER_OR("Export");
  return m_pExportHelper->Export(uri, path);
}

bool CContactSupport::ExportByClassId(const std::wstring& uri, const std::wstring& path, ContentId classId) {
  EXPORTER_OR("ExportByClassId");
  return m_pExportHelper->ExportByClassId(uri, path, classId);
}

bool CContactSupport::ExportByIds(const std::wstring& uri, const std::wstring& path, const IdList& ids) {
  EXPORTER_OR("ExportByIds");
  return m_pExportHelper->ExportByIds(uri, path, ids);
}
