#include "message/SMSOperate.h"

#include "content/ContentUri.h"
#include "frame/suite/BaseLibrary.h"

CSMSOperate::CSMSOperate() {
  m_owner.Open(static_cast<IDataProviderCallback*>(this), static_cast<IInstantMessageCallback*>(this),
               static_cast<IExportCallback*>(this));
}

CSMSOperate::~CSMSOperate() { m_owner.Close(); }

void CSMSOperate::StartReceive() {
  LOG::I("CSMSOperate", "CSMSOperate:startRecv interface ++++");
  if (IInstantMessageHelper* helper = m_owner.MessageHelper()) helper->startRecv(ContentUri::kSms);
}

void CSMSOperate::StopReceive() {
  if (IInstantMessageHelper* helper = m_owner.MessageHelper()) helper->stopRecv();
}
