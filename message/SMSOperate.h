// CSMSOperate: the controller of the messages module. It owns the module's
// data provider, message helper and export helper and is their callback.
// Today it starts and stops the reception of messages for the main window;
// the folders, lists and conversations come with the rest of the module.
#pragma once
#include "content/DataProvider.h"
#include "content/ProviderOwner.h"

class CSMSOperate : public CInstantMessageCallback, public CDataProviderCallback, public CExportCallback {
 public:
  CSMSOperate();
  ~CSMSOperate() override;
  CSMSOperate(const CSMSOperate&) = delete;
  CSMSOperate& operator=(const CSMSOperate&) = delete;

  // From now on incoming messages are reported (OnReceived).
  void StartReceive();
  // Ends the reports. The main window writes the log line of the stop.
  void StopReceive();

  // The messages module keeps no calendar descriptor.
  bool OnProviderEvent(uint32_t, const ProviderEvent&) override { return false; }

 private:
  content::CProviderOwner m_owner;
};
