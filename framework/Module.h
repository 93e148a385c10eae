// The framework's notion of "the module the resources come from".
//
// A plug-in DLL carries no dialog templates of its own: the host hands it a
// resource module, which becomes the instance that dialogs are loaded from.
#pragma once
#include <windows.h>

namespace wf {

// Module whose resources (dialog templates) the framework loads from.
// Until SetResourceInstance is called it is the module the code lives in.
HINSTANCE GetResourceInstance();

// Replaces the resource instance atomically and answers the previous one.
HINSTANCE SetResourceInstance(HINSTANCE instance);

// The module (EXE or DLL) this code is linked into.
HINSTANCE GetCodeInstance();

}  // namespace wf
