#include "content/ProviderOwner.h"

#include "frame/suite/BaseLibrary.h"

namespace content {
namespace {

// In the order they were made: provider, message helper, export helper.
void DestroyAll(IDataProvider* provider, IInstantMessageHelper* messageHelper, IExportHelper* exportHelper) {
  if (provider) DestroyDataProvider(provider);
  if (messageHelper) DestroyInstantMessageHelper(messageHelper);
  if (exportHelper) DestroyExportHelper(exportHelper);
}

}  // namespace

CProviderOwner::~CProviderOwner() {
  if (InCallbackWork() && (m_provider || m_messageHelper || m_exportHelper)) {
    // The controller goes while its own work runs: the objects cannot outlive
    // their callback, so they go now and the library must cope.
    LOG::E(PIM_ERROR_LOG, "CProviderOwner: destroyed inside callback work; its library objects go at once");
    m_marshal.Close();
    DestroyAll(m_provider, m_messageHelper, m_exportHelper);
    m_provider = nullptr;
    m_messageHelper = nullptr;
    m_exportHelper = nullptr;
    return;
  }
  Close();
}

bool CProviderOwner::Open(IDataProviderCallback* data, IInstantMessageCallback* messages,
                          IExportCallback* exports) {
  bool made = true;
  if (data && !m_provider) made &= (m_provider = CreateDataProvider(data)) != nullptr;
  if (messages && !m_messageHelper) made &= (m_messageHelper = CreateInstantMessageHelper(messages)) != nullptr;
  if (exports && !m_exportHelper) made &= (m_exportHelper = CreateExportHelper(exports)) != nullptr;
  return made;
}

void CProviderOwner::Close() {
  m_marshal.Close();
  IDataProvider* provider = m_provider;
  IInstantMessageHelper* messageHelper = m_messageHelper;
  IExportHelper* exportHelper = m_exportHelper;
  m_provider = nullptr;
  m_messageHelper = nullptr;
  m_exportHelper = nullptr;
  if (!provider && !messageHelper && !exportHelper) return;
  RunAfterCallbackWork([provider, messageHelper, exportHelper] { DestroyAll(provider, messageHelper, exportHelper); });
}

}  // namespace content
