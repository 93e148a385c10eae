// Window implementations: a C++ object bound to a window handle whose messages
// go through the object's message map.
//
// Two ways to bind:
//  - CWindowImpl<T>::Create makes a window of T's own class (registered on
//    first use); the object is bound at WM_NCCREATE from the creation parameter.
//  - SubclassWindow / SubclassDlgItem bind an existing window (typically a
//    control of a dialog template) with the platform's SetWindowSubclass; the
//    control's own window procedure stays the default processing.
// The binding ends at WM_NCDESTROY, after which OnFinalMessage runs (an object
// that owns itself may delete itself there). A window destroyed from inside one
// of its own handlers stays bound until that outermost handler has returned:
// the frames above it still use the object, so the unbinding and
// OnFinalMessage wait for them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "MessageMap.h"
#include "Module.h"
#include "Window.h"

namespace wf {

// Reports an exception that reached a window procedure: nothing may cross it.
// The report goes to the debugger and to the reporter set below, if any.
void ReportStrayException(const char* where, const char* what);

// Where stray exceptions are reported besides the debugger (a program sets its
// error log here). The reporter must not throw; null removes it.
using StrayExceptionReporter = void (*)(const char* line);
void SetStrayExceptionReporter(StrayExceptionReporter reporter);

template <class TBase = CWindow>
class CWindowImplBaseT : public TBase, public CMessageMap {
 public:
  CWindowImplBaseT() = default;
  CWindowImplBaseT(const CWindowImplBaseT&) = delete;
  CWindowImplBaseT& operator=(const CWindowImplBaseT&) = delete;
  virtual ~CWindowImplBaseT() { Unbind(); }

  // Binds an existing window; its current window procedure remains the default.
  // Virtual: a control class that does more when it binds (a skinned control
  // changes styles) is bound the same way through SubclassDlgItem.
  virtual BOOL SubclassWindow(HWND hWnd) {
    if (this->m_hWnd || !hWnd || !::IsWindow(hWnd)) return FALSE;
    if (!::SetWindowSubclass(hWnd, &SubclassProc, SubclassId(), reinterpret_cast<DWORD_PTR>(this)))
      return FALSE;
    this->m_hWnd = hWnd;
    m_binding = Binding::Subclass;
    return TRUE;
  }
  BOOL SubclassDlgItem(int id, HWND dialog) { return SubclassWindow(::GetDlgItem(dialog, id)); }

  // Ends a subclass binding early and answers the window it was bound to.
  HWND UnsubclassWindow() {
    if (m_binding != Binding::Subclass) return nullptr;
    HWND hWnd = this->m_hWnd;
    Unbind();
    return hWnd;
  }

  // The message currently being processed (innermost when messages nest).
  const MSG* GetCurrentMessage() const { return m_pCurrentMsg; }

  // Default processing of a message: the subclassed control's own procedure,
  // or the window class's base procedure.
  LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (m_binding) {
      case Binding::Subclass: return ::DefSubclassProc(this->m_hWnd, uMsg, wParam, lParam);
      case Binding::OwnClass: return ::DefWindowProcW(this->m_hWnd, uMsg, wParam, lParam);
      default: return 0;  // dialogs: the dialog manager does the default processing
    }
  }
  LRESULT DefWindowProc() {
    const MSG* msg = m_pCurrentMsg;
    return msg ? DefWindowProc(msg->message, msg->wParam, msg->lParam) : 0;
  }

  // Called once the window is gone (after WM_NCDESTROY).
  virtual void OnFinalMessage(HWND /*hWnd*/) {}

 protected:
  enum class Binding { None, OwnClass, Subclass, Dialog };

  // Window procedure of windows created by CWindowImpl<T>::Create.
  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CWindowImplBaseT*>(::GetWindowLongPtrW(hWnd, 0));
    if (!self && uMsg == WM_NCCREATE) {
      self = static_cast<CWindowImplBaseT*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      if (self) {
        ::SetWindowLongPtrW(hWnd, 0, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hWnd;
        self->m_binding = Binding::OwnClass;
      }
    }
    if (!self) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return self->RouteMessage(hWnd, uMsg, wParam, lParam);
  }

  static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<CWindowImplBaseT*>(refData);
    return self->RouteMessage(hWnd, uMsg, wParam, lParam);
  }

  LRESULT RouteMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    MSG msg{hWnd, uMsg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = m_pCurrentMsg;
    m_pCurrentMsg = &msg;
    LRESULT lResult = 0;
    BOOL handled = FALSE;
    try {
      handled = ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    } catch (const std::exception& e) {
      ReportStrayException("window procedure", e.what());
    } catch (...) {
      ReportStrayException("window procedure", "unknown exception");
    }
    if (!handled) lResult = DefWindowProc(uMsg, wParam, lParam);
    m_pCurrentMsg = outer;
    if (uMsg == WM_NCDESTROY) m_destroyed = true;
    if (m_destroyed && outer == nullptr) FinishDestroyed(hWnd);  // may delete this
    return lResult;
  }

  // The window is gone and no handler of it is running any more.
  void FinishDestroyed(HWND hWnd) {
    m_destroyed = false;
    Unbind();
    OnFinalMessage(hWnd);  // may delete this
  }

  UINT_PTR SubclassId() const { return reinterpret_cast<UINT_PTR>(this); }

  void Unbind() {
    if (!this->m_hWnd) return;
    if (m_binding == Binding::Subclass)
      ::RemoveWindowSubclass(this->m_hWnd, &SubclassProc, SubclassId());
    else if (m_binding == Binding::OwnClass && ::IsWindow(this->m_hWnd))
      ::SetWindowLongPtrW(this->m_hWnd, 0, 0);
    else if (m_binding == Binding::Dialog && ::IsWindow(this->m_hWnd))
      ::SetWindowLongPtrW(this->m_hWnd, DWLP_USER, 0);
    this->m_hWnd = nullptr;
    m_binding = Binding::None;
  }

  Binding m_binding = Binding::None;
  const MSG* m_pCurrentMsg = nullptr;
  bool m_destroyed = false;  // WM_NCDESTROY seen while an outer handler ran
};

using CWindowImplBase = CWindowImplBaseT<CWindow>;

// Window class description of a CWindowImpl; a class chooses its own with
// DECLARE_WND_CLASS_EX (a null name makes one up that is unique to the class).
struct WndClassInfo {
  LPCWSTR name;
  UINT style;
  HBRUSH background;
};

#define DECLARE_WND_CLASS_EX(className, classStyle, backgroundColor)                          \
  static ::wf::WndClassInfo& GetWndClassInfo() {                                            \
    static ::wf::WndClassInfo info{                                                        \
        className, classStyle,                                                             \
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColor) + 1)};              \
    return info;                                                                           \
  }

template <class T, class TBase = CWindow>
class CWindowImpl : public CWindowImplBaseT<TBase> {
 public:
  DECLARE_WND_CLASS_EX(nullptr, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

  HWND Create(HWND parent, const RECT& rc, LPCWSTR windowName = nullptr, DWORD style = 0,
              DWORD exStyle = 0, UINT id = 0) {
    if (this->m_hWnd) return nullptr;
    ATOM atom = RegisterOnce();
    if (!atom) return nullptr;
    return ::CreateWindowExW(exStyle, MAKEINTATOM(atom), windowName, style, rc.left, rc.top,
                             rc.right - rc.left, rc.bottom - rc.top, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             GetCodeInstance(), static_cast<CWindowImplBaseT<TBase>*>(this));
  }

 private:
  static ATOM RegisterOnce() {
    static ATOM atom = 0;
    if (atom) return atom;
    WndClassInfo& info = T::GetWndClassInfo();
    wchar_t generated[64];
    LPCWSTR name = info.name;
    if (!name) {
      wsprintfW(generated, L"wf:%p", static_cast<void*>(&atom));
      name = generated;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = info.style;
    wc.lpfnWndProc = &CWindowImplBaseT<TBase>::WindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);  // the bound object
    wc.hInstance = GetCodeInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = info.background;
    wc.lpszClassName = name;
    atom = ::RegisterClassExW(&wc);
    if (!atom && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
      atom = static_cast<ATOM>(::GetClassInfoExW(GetCodeInstance(), name, &wc));
    return atom;
  }
};

}  // namespace wf
