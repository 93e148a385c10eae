// The module that dialog templates are read from when a dialog lays out its
// controls (the template's font and design rectangles). It is the process's
// main module until the host hands the plug-in its resource module.
#pragma once
#include <windows.h>

HINSTANCE GetDialogTemplateInstance();
void SetDialogTemplateInstance(HINSTANCE module);
