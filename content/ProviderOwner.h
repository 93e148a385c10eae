// The data-provider library's objects of one controller, and the marshal that
// their callbacks run through, made and torn down in the one safe order.
//
// A controller (the callback of its objects) keeps one CProviderOwner as a
// member, made on the user-interface thread, and opens it in its constructor
// with itself as the callbacks. Closing (or destroying) the owner first closes
// the marshal, so that an answer under way finds nothing to run, then destroys
// the provider, the message helper and the export helper (the order they were
// made in), each of which waits for an answer it is still delivering.
//
// Closing from inside callback work cannot wait for the library (the library
// is waiting for that work): the marshal closes at once and the objects are
// destroyed as soon as the work has returned. The controller must outlive
// that moment, which holds because the plug-in deletes its window object, and
// with it the controllers, only outside callback work.
#pragma once
#include <functional>

#include "content/CallbackMarshal.h"
#include "content/DataProvider.h"

namespace content {

class CProviderOwner {
 public:
  CProviderOwner() = default;
  ~CProviderOwner();
  CProviderOwner(const CProviderOwner&) = delete;
  CProviderOwner& operator=(const CProviderOwner&) = delete;

  // Makes the objects whose callback is given (a null callback: no object).
  // Answers whether every object asked for was made; what was made stays.
  bool Open(IDataProviderCallback* data, IInstantMessageCallback* messages, IExportCallback* exports);

  // The objects; null when not made or after Close.
  IDataProvider* Provider() const { return m_provider; }
  IInstantMessageHelper* MessageHelper() const { return m_messageHelper; }
  IExportHelper* ExportHelper() const { return m_exportHelper; }

  // Runs a callback's work on the user-interface thread (CCallbackMarshal::Call).
  bool Call(const std::function<bool()>& work, bool closedAnswer = true) {
    return m_marshal.Call(work, closedAnswer);
  }
  CCallbackMarshal& Marshal() { return m_marshal; }

  // Closes the marshal and destroys the objects (see above). Idempotent.
  void Close();
  bool IsClosed() const { return m_marshal.IsClosed(); }

 private:
  CCallbackMarshal m_marshal;
  IDataProvider* m_provider = nullptr;
  IInstantMessageHelper* m_messageHelper = nullptr;
  IExportHelper* m_exportHelper = nullptr;
};

}  // namespace content
