// Template members of CImageMgrCtrlBase (included by ImageMgr.h).
#include "frame/suite/ResourceLibrary.h"

template <class T>
void CImageMgrCtrlBase<T>::SetStateImageFromKey(int state, const std::wstring& name, int x, int y, int width,
                                                int height) {
  Gdiplus::Image* image = nullptr;
  GetImage(name, image);
  if (image) SetStateImage(state, image, x, y, width, height);
}

template <class T>
void CImageMgrCtrlBase<T>::SetStateFontFromKey(int state, const std::wstring& fontKey) {
  std::wstring face;
  double size = 0;
  int32_t style = 0;
  if (GetFontEx(fontKey, face, size, style)) SetStateFont(state, face, size, style);
}

template <class T>
void CImageMgrCtrlBase<T>::SetStateColorFromKey(int state, const std::wstring& colorKey) {
  BYTE a = 0, r = 0, g = 0, b = 0;
  if (GetColorARGB(colorKey, a, r, g, b)) SetStateTextColor(state, RGB(r, g, b));
}
