// The plug-in against the suite's real libraries: PimPlugin.dll may import
// from them only the functions that the real libraries publish. The stand-ins
// export more (the host's and the tests' controls); a call of one of those
// from the plug-in links and runs here and fails to load at a user's.
#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "PeImage.h"
#include "TestSupport.h"

namespace {

using testing_support::ProgramFolder;

// What each suite library publishes, by DLL name in lower case. C++ functions
// are named with their namespace, without parameters: overloads are one name.
const std::map<std::string, std::set<std::string>>& Published() {
  static const std::map<std::string, std::set<std::string>> published{
      {"tamixres.dll", {"GetString", "GetImage", "GetFontEx", "GetColor", "GetColorARGB"}},
      {"tamixbase.dll", {"LOG::I", "LOG::E", "UniPath::GetExportPath"}},
      {"jorvhelper.dll",
       {"JorvMessageBox", "JorvWaitDynamicShowEx", "JorvWaitDynamicHideEx", "JorvSelectContact", "JorvSelectPhrase",
        "JorvNewContactView", "JorvDisContactInfo", "JorvDisContactInfoHide", "JorvDisContactRefurInfo",
        "JorvPhoneSendSms", "JorvPhoneSendSmsNoNote", "getDisplayCardType"}},
      {"tamixconnect.dll", {"RegSoftConnectNotify"}},
      {"dataprovider.dll",
       {"CreateDataProvider", "CreateInstantMessageHelper", "CreateExportHelper", "DestroyDataProvider",
        "DestroyInstantMessageHelper", "DestroyExportHelper"}},
  };
  return published;
}

// The function an imported or exported symbol names: a mangled C++ name by
// its demangled qualified name without parameters and ABI tags
// ("_ZN7UniPath13GetExportPathB5cxx11Ev" is "UniPath::GetExportPath"); a
// plain name as it is.
std::string FunctionName(const std::string& symbol) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(symbol.c_str(), nullptr, nullptr, &status),
                                                        &std::free);
  if (status != 0 || !demangled) return symbol;
  std::string text = demangled.get();
  // The name ends at the parameter list, the first '(' outside template arguments.
  int depth = 0;
  size_t end = text.size();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '<') ++depth;
    else if (text[i] == '>') --depth;
    else if (text[i] == '(' && depth == 0) {
      end = i;
      break;
    }
  }
  std::string name = text.substr(0, end);
  for (size_t tag; (tag = name.find("[abi:")) != std::string::npos;) name.erase(tag, name.find(']', tag) + 1 - tag);
  // A function template's name follows its return type.
  depth = 0;
  for (size_t i = name.size(); i-- > 0;) {
    if (name[i] == '>') ++depth;
    else if (name[i] == '<') --depth;
    else if (name[i] == ' ' && depth == 0) return name.substr(i + 1);
  }
  return name;
}

HMODULE Load(const wchar_t* dll) {
  HMODULE module = ::LoadLibraryW((ProgramFolder() + L"\\" + dll).c_str());
  EXPECT_NE(module, nullptr) << "cannot load the library";
  return module;
}

TEST(SuiteImports, ThePlugInImportsOnlyWhatTheSuiteLibrariesPublish) {
  HMODULE plugin = Load(L"PimPlugin.dll");
  ASSERT_NE(plugin, nullptr);
  auto imports = pe_image::ImportedNames(plugin);

  std::string unpublished;
  std::set<std::string> used;
  for (const auto& [dll, names] : imports) {
    auto published = Published().find(dll);
    if (published == Published().end()) continue;  // the platform's DLLs
    for (const std::string& symbol : names) {
      std::string name = FunctionName(symbol);
      if (published->second.count(name)) used.insert(name);
      else unpublished += "\n  " + dll + ": " + name + "  (" + symbol + ")";
    }
  }
  EXPECT_TRUE(unpublished.empty()) << "PimPlugin.dll imports functions the suite's libraries do not publish:"
                                   << unpublished;
  // Calls every plug-in makes: if these are not found, the table was misread.
  EXPECT_TRUE(used.count("RegSoftConnectNotify")) << "the main window registers for device notices";
  EXPECT_TRUE(used.count("GetString")) << "every visible text comes from the resource library";
}

// The stand-ins publish everything the real libraries do, under the same
// symbols: the plug-in's imports resolve against either.
TEST(SuiteImports, EachStandInExportsEveryPublishedFunction) {
  const std::map<std::string, const wchar_t*> files{{"tamixres.dll", L"TamixRes.dll"},
                                                    {"tamixbase.dll", L"TamixBase.dll"},
                                                    {"jorvhelper.dll", L"JorvHelper.dll"},
                                                    {"tamixconnect.dll", L"TamixConnect.dll"},
                                                    {"dataprovider.dll", L"DataProvider.dll"}};
  for (const auto& [dll, published] : Published()) {
    HMODULE module = Load(files.at(dll));
    ASSERT_NE(module, nullptr) << dll;
    std::set<std::string> exported;
    for (const std::string& symbol : pe_image::ExportedNames(module)) exported.insert(FunctionName(symbol));
    for (const std::string& name : published) EXPECT_TRUE(exported.count(name)) << dll << " does not export " << name;
  }
}

// The simulated handset links the modules' records only: the texts beside
// them need the resource and shared-dialog libraries, which a data-provider
// library has no business loading.
TEST(SuiteImports, TheDataProviderNeedsNeitherResourcesNorDialogs) {
  HMODULE provider = Load(L"DataProvider.dll");
  ASSERT_NE(provider, nullptr);
  auto imports = pe_image::ImportedNames(provider);
  ASSERT_TRUE(imports.count("tamixconnect.dll")) << "the table was misread: answers check the connection";
  EXPECT_FALSE(imports.count("tamixres.dll"));
  EXPECT_FALSE(imports.count("jorvhelper.dll"));
}

}  // namespace
