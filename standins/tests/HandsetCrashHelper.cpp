// Loads a handset file, changes it and is killed while saving it: after the
// new file is written and before it replaces the old one.
#include <windows.h>

#include "EmbeddedData.h"
#include "handset/HandsetFile.h"
#include "handset/IndexText.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  handset::LoadPinyinTable(provider::kPinyinData);
  handset::Store store;
  if (handset::LoadHandsetFile(argv[1], store).kind != handset::LoadResult::kLoaded) return 3;
  Contact::CContactData contact;
  contact.m_name[Contact::kDisplayName] = L"New state";
  store.InsertContact(handset::Book::Phone, contact);
  handset::SetSaveHook([] { ::TerminateProcess(::GetCurrentProcess(), 77); });
  std::wstring error;
  handset::SaveHandsetFile(argv[1], store, error);
  return 4;  // not reached
}
