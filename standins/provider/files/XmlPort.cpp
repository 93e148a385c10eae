// The XML files of contacts and of messages, through the platform's XmlLite.
// Every field of a record is written (texts XML cannot carry are escaped per
// field, see docs/FILE-FORMATS.md) so that a file read back gives the same
// records; readers skip what they do not know.
#include "XmlPort.h"
#include "XmlLiteInput.h"

#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>
#include <wrl/client.h>

#include <climits>
#include <cstdint>
#include <cwchar>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

namespace files {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t kContactsNs[] = L"urn:tamix:pim:contacts:1";
constexpr wchar_t kMessagesNs[] = L"urn:tamix:pim:messages:1";
constexpr int kFormatVersion = 1;
// Attribute that lists the fields of an element written escaped; "#text" names the element's text.
constexpr wchar_t kEscapedAttr[] = L"escaped";
constexpr wchar_t kTextToken[] = L"#text";
// Deeper nesting than any file of ours is refused rather than followed.
constexpr int kMaxDepth = 32;
constexpr int64_t kNoDefault = INT64_MIN;

const wchar_t* const kNameAttrs[Contact::kNameTextCount] = {
    L"display", L"family",         L"given",         L"prefix",         L"middle",      L"suffix",
    L"full",    L"phoneticFamily", L"phoneticGiven", L"phoneticMiddle", L"phoneticFull"};

// ---- texts XML 1.0 cannot carry ---------------------------------------------

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Whether the code unit at `i` cannot be written as it is. In an attribute,
// tab and line feed count too: attribute-value normalisation turns them into
// spaces. CR counts everywhere: readers turn CR LF into LF, and the character
// reference &#13; that would keep it is read as a space by Wine's XmlLite.
bool NeedsEscape(std::wstring_view text, size_t i, bool inAttribute) {
  wchar_t c = text[i];
  if (c == L'\r') return true;
  if (c == L'\t' || c == L'\n') return inAttribute;
  if (c < 0x20 || c == 0xFFFE || c == 0xFFFF) return true;
  if (IsHighSurrogate(c)) return i + 1 >= text.size() || !IsLowSurrogate(text[i + 1]);
  if (IsLowSurrogate(c)) return i == 0 || !IsHighSurrogate(text[i - 1]);
  return false;
}

bool NeedsEscaping(std::wstring_view text, bool inAttribute) {
  for (size_t i = 0; i < text.size(); ++i)
    if (NeedsEscape(text, i, inAttribute)) return true;
  return false;
}

// "\\" for a backslash, "\uXXXX" for a code unit that cannot be written.
std::wstring Escape(std::wstring_view text, bool inAttribute) {
  std::wstring out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\') {
      out += L"\\\\";
    } else if (NeedsEscape(text, i, inAttribute)) {
      wchar_t code[8];
      swprintf(code, 8, L"\\u%04X", static_cast<unsigned>(text[i]));
      out += code;
    } else {
      out += text[i];
    }
  }
  return out;
}

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

bool Unescape(std::wstring_view text, std::wstring& out) {
  out.clear();
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\') {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == L'\\') {
      out += L'\\';
      ++i;
    } else {
      if (i + 5 >= text.size() || text[i + 1] != L'u') return false;
      unsigned code = 0;
      for (size_t k = i + 2; k < i + 6; ++k) {
        int digit = HexValue(text[k]);
        if (digit < 0) return false;
        code = code * 16 + static_cast<unsigned>(digit);
      }
      out += static_cast<wchar_t>(code);
      i += 5;
    }
  }
  return true;
}

std::wstring Where(UINT line, UINT column) {
  return L"line " + std::to_wstring(line) + L", column " + std::to_wstring(column) + L": ";
}

std::wstring HresultText(HRESULT hr) {
  wchar_t code[16];
  swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return code;
}

// What a reader error means to someone looking at the file.
std::wstring ReadErrorText(HRESULT hr) {
  switch (static_cast<unsigned long>(hr)) {
    case MX_E_INPUTEND:
      return L"the document ends before it is complete";
    case MX_E_ENCODING:
    case MX_E_ENCODINGSWITCH:
    case MX_E_ENCODINGSIGNATURE:
    case XML_E_INVALIDENCODING:
    case WC_E_ENCNAME:
      return L"the character encoding is unknown or does not match the bytes";
    case WC_E_DTDPROHIBITED:
    case WC_E_DECLDOCTYPE:
    case WC_E_DECLENTITY:
      return L"the document has a document type declaration, which is not allowed";
    case WC_E_UNDECLAREDENTITY:
      return L"the document refers to an unknown entity";
    case WC_E_XMLCHARACTER:
    case XML_E_INVALID_UNICODE:
      return L"the document holds a character XML does not allow";
    case WC_E_ELEMENTMATCH:
      return L"an end tag does not match its start tag";
    case SC_E_MAXELEMENTDEPTH:
      return L"elements are nested too deeply";
    case SC_E_MAXENTITYEXPANSION:
      return L"entities expand too far";
    default:
      return L"the document is not well-formed XML (XmlLite error " + HresultText(hr) + L")";
  }
}

// ---- writing ------------------------------------------------------------------

// Windows' XmlLite escapes markup characters in attribute values; Wine's (8.0)
// writes them as given, which makes the document ill-formed. Asked once by
// writing a probe attribute; where the writer does not escape, we do.
bool WriterEscapesAttributes() {
  static const bool escapes = [] {
    ComPtr<IStream> stream;
    stream.Attach(::SHCreateMemStream(nullptr, 0));
    ComPtr<IXmlWriter> writer;
    if (!stream || FAILED(::CreateXmlWriter(__uuidof(IXmlWriter), reinterpret_cast<void**>(writer.GetAddressOf()),
                                            nullptr)))
      return true;
    char written[64] = {};
    ULONG got = 0;
    LARGE_INTEGER zero{};
    if (FAILED(writer->SetOutput(stream.Get())) ||
        FAILED(writer->SetProperty(XmlWriterProperty_OmitXmlDeclaration, TRUE)) ||
        FAILED(writer->WriteStartElement(nullptr, L"a", nullptr)) ||
        FAILED(writer->WriteAttributeString(nullptr, L"b", nullptr, L"&")) || FAILED(writer->WriteEndElement()) ||
        FAILED(writer->Flush()) || FAILED(stream->Seek(zero, STREAM_SEEK_SET, nullptr)) ||
        FAILED(stream->Read(written, sizeof written - 1, &got)))
      return true;
    return std::string_view(written, got).find("&amp;") != std::string_view::npos;
  }();
  return escapes;
}

std::wstring EscapeMarkup(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size() + 16);
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// An XmlLite writer into memory. The first failure is kept and every later
// call does nothing, so the record writers stay plain sequences of calls.
class XmlOut {
 public:
  bool Open(std::wstring& error) {
    stream_.Attach(::SHCreateMemStream(nullptr, 0));
    if (!stream_) {
      error = L"no memory for the XML document";
      return false;
    }
    Check(::CreateXmlWriter(__uuidof(IXmlWriter), reinterpret_cast<void**>(writer_.GetAddressOf()), nullptr),
          L"CreateXmlWriter");
    if (failed()) return Finish(error);
    Check(writer_->SetOutput(stream_.Get()), L"SetOutput");
    Check(writer_->SetProperty(XmlWriterProperty_Indent, TRUE), L"Indent");
    // The declaration names the encoding; a byte-order mark in front adds nothing.
    Check(writer_->SetProperty(XmlWriterProperty_ByteOrderMark, FALSE), L"ByteOrderMark");
    Check(writer_->WriteStartDocument(XmlStandalone_Omit), L"WriteStartDocument");
    return !failed() || Finish(error);
  }

  void Root(const wchar_t* name, const wchar_t* ns) {
    if (!failed()) Check(writer_->WriteStartElement(nullptr, name, ns), L"WriteStartElement");
    Int(L"version", kFormatVersion);
  }
  void Start(const wchar_t* name) {
    CloseAttributes();
    if (!failed()) Check(writer_->WriteStartElement(nullptr, name, nullptr), L"WriteStartElement");
  }
  void End() {
    CloseAttributes();
    if (!failed()) Check(writer_->WriteEndElement(), L"WriteEndElement");
  }
  // Omitted when empty: the reader takes a missing attribute as empty.
  void Text(const wchar_t* name, std::wstring_view value) {
    if (value.empty() || failed()) return;
    bool escape = NeedsEscaping(value, true);
    if (escape) Escaped(name);
    std::wstring text = escape ? Escape(value, true) : std::wstring(value);
    if (!WriterEscapesAttributes()) text = EscapeMarkup(text);
    Check(writer_->WriteAttributeString(nullptr, name, nullptr, text.c_str()), L"WriteAttributeString");
  }
  // Omitted when it equals `absent` (the record's own default).
  void Int(const wchar_t* name, int64_t value, int64_t absent = kNoDefault) {
    if (value == absent || failed()) return;
    Check(writer_->WriteAttributeString(nullptr, name, nullptr, std::to_wstring(value).c_str()),
          L"WriteAttributeString");
  }
  // Tells readers that leading and trailing white space of the element's text is data.
  void PreserveSpace() {
    if (!failed()) Check(writer_->WriteAttributeString(L"xml", L"space", nullptr, L"preserve"), L"xml:space");
  }
  void Content(std::wstring_view value) {
    bool escape = NeedsEscaping(value, false);
    if (escape) Escaped(kTextToken);
    CloseAttributes();
    std::wstring text = escape ? Escape(value, false) : std::wstring(value);
    if (!text.empty() && !failed()) Check(writer_->WriteString(text.c_str()), L"WriteString");
  }
  void Element(const wchar_t* name, std::wstring_view content) {
    Start(name);
    Content(content);
    End();
  }

  bool Finish(std::wstring& error, std::string* bytes = nullptr) {
    if (!failed()) Check(writer_->WriteEndDocument(), L"WriteEndDocument");
    if (!failed()) Check(writer_->Flush(), L"Flush");
    if (!failed() && bytes) ReadBack(*bytes);
    if (failed()) error = L"the XML document could not be written (" + what_ + L": " + HresultText(hr_) + L")";
    return !failed();
  }

 private:
  bool failed() const { return FAILED(hr_); }
  void Check(HRESULT hr, const wchar_t* what) {
    if (FAILED(hr) && !failed()) {
      hr_ = hr;
      what_ = what;
    }
  }
  void Escaped(const wchar_t* name) {
    if (!escaped_.empty()) escaped_ += L' ';
    escaped_ += name;
  }
  // The list of escaped fields goes last, before the element's content.
  void CloseAttributes() {
    if (escaped_.empty() || failed()) return;
    Check(writer_->WriteAttributeString(nullptr, kEscapedAttr, nullptr, escaped_.c_str()), L"WriteAttributeString");
    escaped_.clear();
  }
  void ReadBack(std::string& bytes) {
    ULARGE_INTEGER end{};
    LARGE_INTEGER zero{};
    Check(stream_->Seek(zero, STREAM_SEEK_END, &end), L"Seek");
    Check(stream_->Seek(zero, STREAM_SEEK_SET, nullptr), L"Seek");
    if (failed()) return;
    bytes.assign(static_cast<size_t>(end.QuadPart), '\0');
    ULONG got = 0;
    Check(stream_->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got), L"Read");
    if (!failed() && got != bytes.size()) Check(E_FAIL, L"Read");
  }

  ComPtr<IStream> stream_;
  ComPtr<IXmlWriter> writer_;
  HRESULT hr_ = S_OK;
  std::wstring what_;
  std::wstring escaped_;
};

// ---- reading ------------------------------------------------------------------

// An element start as the reader met it: its attributes (those without a
// namespace, unescaped) and where it stands in the file.
struct Element {
  std::wstring name;
  bool foreign = false;  // in another namespace than the document's: never one of ours
  bool empty = false;
  bool escapedText = false;
  UINT line = 0;
  UINT column = 0;
  std::vector<std::pair<std::wstring, std::wstring>> attributes;

  bool Is(std::wstring_view local) const { return !foreign && name == local; }
  const std::wstring* Find(std::wstring_view attribute) const {
    for (const auto& [key, value] : attributes)
      if (key == attribute) return &value;
    return nullptr;
  }
};

// A space in the document's encoding as far as it shows from the first bytes
// (UTF-16 either way round, else a single byte).
// An XmlLite reader over the bytes. Errors name the line and column; the
// first one is kept (later ones are consequences).
class XmlIn {
 public:
  bool Open(std::string_view bytes) {
    if (bytes.empty()) return Fail(L"the file is empty");
    if (bytes.size() > UINT_MAX) return Fail(L"the file is too large");
    ComPtr<IStream> stream;
    stream.Attach(::SHCreateMemStream(nullptr, 0));
    if (!stream) return Fail(L"no memory to read the file");
    // In the form Wine's XmlLite reads correctly (XmlLiteInput.h).
    std::string input = XmlLiteInput(bytes);
    ULONG written = 0;
    LARGE_INTEGER zero{};
    HRESULT hr = stream->Write(input.data(), static_cast<ULONG>(input.size()), &written);
    if (SUCCEEDED(hr)) hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    if (FAILED(hr)) return Fail(L"no memory to read the file");
    hr = ::CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(reader_.GetAddressOf()), nullptr);
    // No DTD: it could define entities that expand without bound.
    if (SUCCEEDED(hr)) hr = reader_->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    if (SUCCEEDED(hr)) hr = reader_->SetInput(stream.Get());
    if (FAILED(hr)) return Fail(L"XmlLite could not start reading (" + HresultText(hr) + L")");
    return true;
  }

  // Moves to the root element; it must be `name` in namespace `ns` (or in none)
  // with a version this reader knows.
  bool Root(Element& root, const wchar_t* name, const wchar_t* ns) {
    XmlNodeType type = XmlNodeType_None;
    do {
      if (!Next(type)) return false;
      // Prohibited DTDs are refused by XmlLite already; this also covers a reader that reports them.
      if (type == XmlNodeType_DocumentType)
        return Fail(L"the document has a document type declaration, which is not allowed");
      if (type == XmlNodeType_None) return Fail(Position() + L"no XML element found (the file is empty or not XML)");
    } while (type != XmlNodeType_Element);
    std::wstring rootNs;
    if (!Capture(root, &rootNs)) return false;
    if (root.name != name)
      return Fail(root, L"this is not a " + std::wstring(name) + L" file: its root element is <" + root.name +
                            L"> instead of <" + name + L">");
    if (!rootNs.empty() && rootNs != ns)
      return Fail(root, L"this is not a " + std::wstring(name) + L" file of this program: its namespace is \"" +
                            rootNs + L"\" instead of \"" + ns + L"\"");
    ns_ = rootNs;
    root.foreign = false;
    int64_t version = kFormatVersion;
    if (!Number(root, L"version", version, 0, INT32_MAX)) return false;
    if (version != kFormatVersion)
      return Fail(root, L"the file is in format version " + std::to_wstring(version) +
                            L", this program reads version " + std::to_wstring(kFormatVersion));
    return true;
  }

  // Calls `each` for every child element of `parent`; `each` consumes the
  // child (Skip, Content or Children) and answers false to stop.
  bool Children(const Element& parent, const std::function<bool(const Element&)>& each) {
    if (parent.empty) return true;
    if (depth_ >= kMaxDepth) return Fail(parent, L"elements are nested too deeply");
    ++depth_;
    bool ok = true;
    for (XmlNodeType type = XmlNodeType_None; ok;) {
      ok = Next(type);
      if (!ok || type == XmlNodeType_EndElement) break;
      if (type == XmlNodeType_None) {
        ok = EarlyEnd();
      } else if (type == XmlNodeType_Element) {
        Element child;
        ok = Capture(child) && each(child);
      }
    }
    --depth_;
    return ok;
  }

  bool Skip(const Element& element) {
    return Children(element, [this](const Element& child) { return Skip(child); });
  }

  // The element's text; child elements (of a later version) are skipped.
  bool Content(const Element& element, std::wstring& text) {
    std::wstring raw;
    for (XmlNodeType type = XmlNodeType_None; !element.empty;) {
      if (!Next(type)) return false;
      if (type == XmlNodeType_EndElement) break;
      if (type == XmlNodeType_None) return EarlyEnd();
      if (type == XmlNodeType_Text || type == XmlNodeType_CDATA || type == XmlNodeType_Whitespace) {
        if (!Value(raw)) return false;
      } else if (type == XmlNodeType_Element) {
        Element child;
        if (!Capture(child) || !Skip(child)) return false;
      }
    }
    if (!element.escapedText) {
      text = std::move(raw);
      return true;
    }
    return Unescape(raw, text) || Fail(element, L"<" + element.name + L"> holds a broken \\u escape");
  }

  // Reads the rest of the document after the root element.
  bool End() {
    XmlNodeType type = XmlNodeType_None;
    do {
      if (!Next(type)) return false;
    } while (type != XmlNodeType_None);
    return true;
  }

  // Attribute values into fields; a missing attribute leaves the field as it is.
  bool Get(const Element& element, const wchar_t* name, std::wstring& field) {
    if (const std::wstring* value = element.Find(name)) field = *value;
    return true;
  }
  template <class T>
  bool Get(const Element& element, const wchar_t* name, T& field) {
    int64_t value = static_cast<int64_t>(field);
    int64_t lowest = static_cast<int64_t>(std::numeric_limits<T>::min());
    int64_t highest = static_cast<int64_t>(std::numeric_limits<T>::max());
    if (!Number(element, name, value, lowest, highest)) return false;
    field = static_cast<T>(value);
    return true;
  }

  bool Fail(const std::wstring& message) {
    if (error_.empty() && !cancelled_) error_ = message;
    return false;
  }
  bool Fail(const Element& element, const std::wstring& message) {
    return Fail(Where(element.line, element.column) + message);
  }
  bool Cancel() {
    cancelled_ = true;
    error_.clear();
    return false;
  }
  const std::wstring& error() const { return error_; }

 private:
  bool Next(XmlNodeType& type) {
    HRESULT hr = reader_->Read(&type);
    if (hr == S_FALSE) {
      type = XmlNodeType_None;
      return true;
    }
    if (FAILED(hr)) return Fail(Position() + ReadErrorText(hr));
    // Wine's XmlLite (8.0) does not report a document that stops in the
    // middle: it answers the last node again, forever. Each real node starts
    // further on, so the same node at the same place means the input ended.
    UINT line = 0, column = 0;
    reader_->GetLineNumber(&line);
    reader_->GetLinePosition(&column);
    if (type == lastType_ && line == lastLine_ && column == lastColumn_) return EarlyEnd();
    lastType_ = type;
    lastLine_ = line;
    lastColumn_ = column;
    return true;
  }

  // Appends the current node's value.
  bool Value(std::wstring& text) {
    LPCWSTR value = nullptr;
    UINT length = 0;
    HRESULT hr = reader_->GetValue(&value, &length);
    if (SUCCEEDED(hr)) text.append(value, length);
    return SUCCEEDED(hr) || Fail(Position() + ReadErrorText(hr));
  }

  bool EarlyEnd() { return Fail(Position() + L"the document ends before it is complete"); }

  std::wstring Position() {
    UINT line = 0, column = 0;
    reader_->GetLineNumber(&line);
    reader_->GetLinePosition(&column);
    return Where(line, column);
  }

  bool Name(std::wstring& local, std::wstring& ns) {
    LPCWSTR text = nullptr;
    UINT length = 0;
    HRESULT hr = reader_->GetLocalName(&text, &length);
    if (SUCCEEDED(hr)) local.assign(text, length);
    if (SUCCEEDED(hr)) hr = reader_->GetNamespaceUri(&text, &length);
    if (SUCCEEDED(hr)) ns.assign(text, length);
    return SUCCEEDED(hr) || Fail(Position() + ReadErrorText(hr));
  }

  bool Capture(Element& element, std::wstring* ns = nullptr) {
    element = {};
    std::wstring elementNs;
    if (!Name(element.name, elementNs)) return false;
    if (ns) *ns = elementNs;
    element.foreign = elementNs != ns_;
    element.empty = reader_->IsEmptyElement() != FALSE;
    reader_->GetLineNumber(&element.line);
    reader_->GetLinePosition(&element.column);
    HRESULT hr = reader_->MoveToFirstAttribute();
    while (hr == S_OK) {
      std::wstring name, attributeNs;
      LPCWSTR value = nullptr;
      UINT length = 0;
      if (!Name(name, attributeNs)) return false;
      if (FAILED(hr = reader_->GetValue(&value, &length))) break;
      // Namespace declarations and attributes of other vocabularies are not fields.
      if (attributeNs.empty() && name != L"xmlns") element.attributes.emplace_back(name, std::wstring(value, length));
      hr = reader_->MoveToNextAttribute();
    }
    if (SUCCEEDED(hr)) hr = reader_->MoveToElement();
    if (FAILED(hr)) return Fail(Position() + ReadErrorText(hr));
    return UnescapeFields(element);
  }

  bool UnescapeFields(Element& element) {
    const std::wstring* list = element.Find(kEscapedAttr);
    if (!list) return true;
    std::wstring names = *list;
    size_t from = 0;
    while (from < names.size()) {
      size_t space = names.find(L' ', from);
      std::wstring name = names.substr(from, space == std::wstring::npos ? std::wstring::npos : space - from);
      from = space == std::wstring::npos ? names.size() : space + 1;
      if (name == kTextToken) {
        element.escapedText = true;
        continue;
      }
      for (auto& [key, value] : element.attributes) {
        std::wstring plain;
        if (key != name) continue;
        if (!Unescape(value, plain)) return Fail(element, L"attribute " + name + L" holds a broken \\u escape");
        value = std::move(plain);
      }
    }
    return true;
  }

  bool Number(const Element& element, const wchar_t* name, int64_t& field, int64_t lowest, int64_t highest) {
    const std::wstring* text = element.Find(name);
    if (!text) return true;
    size_t i = !text->empty() && (*text)[0] == L'-' ? 1 : 0;
    bool ok = i < text->size() && text->size() - i <= 11;
    int64_t value = 0;
    for (; ok && i < text->size(); ++i) {
      ok = (*text)[i] >= L'0' && (*text)[i] <= L'9';
      value = value * 10 + ((*text)[i] - L'0');
    }
    if (ok && (*text)[0] == L'-') value = -value;
    if (!ok || value < lowest || value > highest)
      return Fail(element, L"<" + element.name + L"> attribute " + name + L"=\"" + *text + L"\" is not a valid number");
    field = value;
    return true;
  }

  ComPtr<IXmlReader> reader_;
  XmlNodeType lastType_ = XmlNodeType_None;
  UINT lastLine_ = 0;
  UINT lastColumn_ = 0;
  std::wstring ns_;
  std::wstring error_;
  bool cancelled_ = false;
  int depth_ = 0;
};

template <>
bool XmlIn::Get<bool>(const Element& element, const wchar_t* name, bool& field) {
  const std::wstring* value = element.Find(name);
  if (!value) return true;
  if (*value == L"1" || *value == L"true") field = true;
  else if (*value == L"0" || *value == L"false") field = false;
  else return Fail(element, L"<" + element.name + L"> attribute " + name + L"=\"" + *value + L"\" is not 0 or 1");
  return true;
}

// ---- contacts -----------------------------------------------------------------

void WriteGroup(XmlOut& out, const Contact::CGroupData& group) {
  out.Start(L"group");
  out.Int(L"id", group.m_id);
  out.Text(L"name", group.m_name);
  out.Text(L"remark", group.m_remark);
  out.Int(L"flag", group.m_flag, 0);
  out.Int(L"version", group.m_version, 0);
  out.Text(L"account", group.m_sourceAccount);
  out.Text(L"accountType", group.m_sourceType);
  out.Text(L"sourceId", group.m_sourceId);
  out.Int(L"visible", group.m_visible, 0);
  out.Text(L"systemId", group.m_systemId);
  out.Int(L"deleted", group.m_deleted, 0);
  out.Int(L"shouldSync", group.m_shouldSync, 0);
  out.Text(L"sync1", group.m_syncData1);
  out.Text(L"sync2", group.m_syncData2);
  out.End();
}

bool ReadGroup(XmlIn& in, const Element& element, Contact::CGroupData& group) {
  return in.Get(element, L"id", group.m_id) && in.Get(element, L"name", group.m_name) &&
         in.Get(element, L"remark", group.m_remark) && in.Get(element, L"flag", group.m_flag) &&
         in.Get(element, L"version", group.m_version) && in.Get(element, L"account", group.m_sourceAccount) &&
         in.Get(element, L"accountType", group.m_sourceType) && in.Get(element, L"sourceId", group.m_sourceId) &&
         in.Get(element, L"visible", group.m_visible) && in.Get(element, L"systemId", group.m_systemId) &&
         in.Get(element, L"deleted", group.m_deleted) && in.Get(element, L"shouldSync", group.m_shouldSync) &&
         in.Get(element, L"sync1", group.m_syncData1) && in.Get(element, L"sync2", group.m_syncData2) &&
         in.Skip(element);
}

template <class T>
void StartEntry(XmlOut& out, const wchar_t* name, const Contact::CCommonData<T>& entry) {
  out.Start(name);
  out.Int(L"type", entry.m_type);
  out.Text(L"label", entry.m_label);
  out.Int(L"primary", entry.m_primary ? 1 : 0, 0);
}

template <class Entry>
void WriteTextEntries(XmlOut& out, const wchar_t* name, const std::vector<Entry>& entries) {
  for (const Entry& entry : entries) {
    StartEntry(out, name, entry);
    out.Content(entry.m_data);
    out.End();
  }
}

void WriteStructuredEntries(XmlOut& out, const Contact::CContactData& contact) {
  for (const Contact::CPostalData& postal : contact.m_postals) {
    StartEntry(out, L"postal", postal);
    const Contact::CPostalBaseData& p = postal.m_data;
    out.Text(L"street", p.m_street);
    out.Text(L"poBox", p.m_poBox);
    out.Text(L"neighborhood", p.m_neighborhood);
    out.Text(L"city", p.m_city);
    out.Text(L"region", p.m_region);
    out.Text(L"postcode", p.m_postcode);
    out.Text(L"country", p.m_country);
    out.End();
  }
  for (const Contact::COrganizationData& organization : contact.m_organizations) {
    StartEntry(out, L"organization", organization);
    const Contact::COrganizationBaseData& o = organization.m_data;
    out.Text(L"company", o.m_company);
    out.Text(L"title", o.m_title);
    out.Text(L"department", o.m_department);
    out.Text(L"jobDescription", o.m_jobDescription);
    out.Text(L"symbol", o.m_symbol);
    out.Text(L"phoneticName", o.m_phoneticName);
    out.Text(L"officeLocation", o.m_officeLocation);
    out.End();
  }
  for (const Contact::CIMData& im : contact.m_ims) {
    StartEntry(out, L"im", im);
    out.Int(L"protocol", im.m_protocol);
    out.Content(im.m_data);
    out.End();
  }
}

void WriteContact(XmlOut& out, const Contact::CContactData& contact) {
  out.Start(L"contact");
  out.Int(L"id", contact.m_id);
  out.Int(L"starred", contact.m_starred);
  out.Int(L"flag", contact.m_flag, 0);
  out.Int(L"sendToVoicemail", contact.m_sendToVoicemail, 0);
  out.Int(L"timesContacted", contact.m_timesContacted, 0);
  if (!contact.m_sourceAccount.empty() || !contact.m_sourceType.empty() || !contact.m_sourceId.empty() ||
      contact.m_version != 0) {
    out.Start(L"source");
    out.Text(L"account", contact.m_sourceAccount);
    out.Text(L"type", contact.m_sourceType);
    out.Text(L"id", contact.m_sourceId);
    out.Int(L"version", contact.m_version, 0);
    out.End();
  }
  out.Start(L"name");
  for (int i = 0; i < Contact::kNameTextCount; ++i) out.Text(kNameAttrs[i], contact.m_name[i]);
  out.End();
  WriteTextEntries(out, L"nickname", contact.m_nicknames);
  WriteTextEntries(out, L"phone", contact.m_phones);
  WriteTextEntries(out, L"email", contact.m_emails);
  WriteStructuredEntries(out, contact);
  WriteTextEntries(out, L"website", contact.m_websites);
  for (const std::wstring& group : contact.m_groupNames) out.Element(L"group", group);
  for (const std::wstring& note : contact.m_notes) out.Element(L"note", note);
  for (const Contact::CExtraData& extra : contact.m_extras) {
    out.Start(L"extra");
    out.Text(L"name", extra.m_name);
    out.Int(L"kind", extra.m_kind);
    out.Text(L"mime", extra.m_mimeType);
    for (const std::wstring& value : extra.m_values) out.Element(L"value", value);
    out.End();
  }
  if (!contact.m_photo.empty()) out.Element(L"photo", contact.m_photo);
  if (!contact.m_ringtone.empty()) out.Element(L"ringtone", contact.m_ringtone);
  if (!contact.m_index.empty()) out.Element(L"index", contact.m_index);
  out.End();
}

template <class T>
bool ReadEntryHead(XmlIn& in, const Element& element, Contact::CCommonData<T>& entry) {
  return in.Get(element, L"type", entry.m_type) && in.Get(element, L"label", entry.m_label) &&
         in.Get(element, L"primary", entry.m_primary);
}

template <class Entry>
bool ReadTextEntry(XmlIn& in, const Element& element, std::vector<Entry>& entries) {
  Entry& entry = entries.emplace_back();
  return ReadEntryHead(in, element, entry) && in.Content(element, entry.m_data);
}

bool ReadPostal(XmlIn& in, const Element& element, Contact::CPostalData& postal) {
  Contact::CPostalBaseData& p = postal.m_data;
  return ReadEntryHead(in, element, postal) && in.Get(element, L"street", p.m_street) &&
         in.Get(element, L"poBox", p.m_poBox) && in.Get(element, L"neighborhood", p.m_neighborhood) &&
         in.Get(element, L"city", p.m_city) && in.Get(element, L"region", p.m_region) &&
         in.Get(element, L"postcode", p.m_postcode) && in.Get(element, L"country", p.m_country) && in.Skip(element);
}

bool ReadOrganization(XmlIn& in, const Element& element, Contact::COrganizationData& organization) {
  Contact::COrganizationBaseData& o = organization.m_data;
  return ReadEntryHead(in, element, organization) && in.Get(element, L"company", o.m_company) &&
         in.Get(element, L"title", o.m_title) && in.Get(element, L"department", o.m_department) &&
         in.Get(element, L"jobDescription", o.m_jobDescription) && in.Get(element, L"symbol", o.m_symbol) &&
         in.Get(element, L"phoneticName", o.m_phoneticName) &&
         in.Get(element, L"officeLocation", o.m_officeLocation) && in.Skip(element);
}

bool ReadExtra(XmlIn& in, const Element& element, Contact::CExtraData& extra) {
  return in.Get(element, L"name", extra.m_name) && in.Get(element, L"kind", extra.m_kind) &&
         in.Get(element, L"mime", extra.m_mimeType) && in.Children(element, [&](const Element& child) {
           if (!child.Is(L"value")) return in.Skip(child);
           return in.Content(child, extra.m_values.emplace_back());
         });
}

bool ReadContactPart(XmlIn& in, const Element& element, Contact::CContactData& contact) {
  if (element.Is(L"source"))
    return in.Get(element, L"account", contact.m_sourceAccount) && in.Get(element, L"type", contact.m_sourceType) &&
           in.Get(element, L"id", contact.m_sourceId) && in.Get(element, L"version", contact.m_version) &&
           in.Skip(element);
  if (element.Is(L"name")) {
    for (int i = 0; i < Contact::kNameTextCount; ++i) in.Get(element, kNameAttrs[i], contact.m_name[i]);
    return in.Skip(element);
  }
  if (element.Is(L"nickname")) return ReadTextEntry(in, element, contact.m_nicknames);
  if (element.Is(L"phone")) return ReadTextEntry(in, element, contact.m_phones);
  if (element.Is(L"email")) return ReadTextEntry(in, element, contact.m_emails);
  if (element.Is(L"website")) return ReadTextEntry(in, element, contact.m_websites);
  if (element.Is(L"im"))
    return ReadTextEntry(in, element, contact.m_ims) && in.Get(element, L"protocol", contact.m_ims.back().m_protocol);
  if (element.Is(L"postal")) return ReadPostal(in, element, contact.m_postals.emplace_back());
  if (element.Is(L"organization")) return ReadOrganization(in, element, contact.m_organizations.emplace_back());
  if (element.Is(L"group")) return in.Content(element, contact.m_groupNames.emplace_back());
  if (element.Is(L"note")) return in.Content(element, contact.m_notes.emplace_back());
  if (element.Is(L"extra")) return ReadExtra(in, element, contact.m_extras.emplace_back());
  if (element.Is(L"photo")) return in.Content(element, contact.m_photo);
  if (element.Is(L"ringtone")) return in.Content(element, contact.m_ringtone);
  if (element.Is(L"index")) return in.Content(element, contact.m_index);
  return in.Skip(element);
}

bool ReadContact(XmlIn& in, const Element& element, Contact::CContactData& contact) {
  return in.Get(element, L"id", contact.m_id) && in.Get(element, L"starred", contact.m_starred) &&
         in.Get(element, L"flag", contact.m_flag) && in.Get(element, L"sendToVoicemail", contact.m_sendToVoicemail) &&
         in.Get(element, L"timesContacted", contact.m_timesContacted) &&
         in.Children(element, [&](const Element& child) { return ReadContactPart(in, child, contact); });
}

// ---- messages -----------------------------------------------------------------

void WriteFolder(XmlOut& out, const Message::CFolder& folder) {
  out.Start(L"folder");
  out.Int(L"id", folder.m_id);
  out.Text(L"name", folder.m_name);
  out.Int(L"orderKey", folder.m_orderKey);
  out.Int(L"system", folder.m_system);
  out.Int(L"flag", folder.m_flag, 0);
  out.Text(L"text1", folder.m_opaqueText1);
  out.Int(L"int2", folder.m_opaqueInt2, 0);
  out.Int(L"int3", folder.m_opaqueInt3, 0);
  out.Int(L"int4", folder.m_opaqueInt4, 0);
  out.Int(L"int5", folder.m_opaqueInt5, 0);
  out.End();
}

bool ReadFolder(XmlIn& in, const Element& element, Message::CFolder& folder) {
  return in.Get(element, L"id", folder.m_id) && in.Get(element, L"name", folder.m_name) &&
         in.Get(element, L"orderKey", folder.m_orderKey) && in.Get(element, L"system", folder.m_system) &&
         in.Get(element, L"flag", folder.m_flag) && in.Get(element, L"text1", folder.m_opaqueText1) &&
         in.Get(element, L"int2", folder.m_opaqueInt2) && in.Get(element, L"int3", folder.m_opaqueInt3) &&
         in.Get(element, L"int4", folder.m_opaqueInt4) && in.Get(element, L"int5", folder.m_opaqueInt5) &&
         in.Skip(element);
}

void WriteMessage(XmlOut& out, const Message::CSMSData& message, bool withFolder) {
  const Message::CSMSData defaults;
  out.Start(L"message");
  out.Int(L"id", message.m_id);
  if (withFolder) out.Int(L"folder", message.m_folderId);
  out.Text(L"number", message.m_phoneNumber);
  out.Text(L"contactName", message.m_contactName);
  out.Int(L"contactId", message.m_contactId, 0);
  out.Text(L"time", message.m_time);
  out.Int(L"read", message.m_read);
  out.Int(L"state", message.m_state);
  out.Int(L"draft", message.m_draftMarker, 0);
  out.Int(L"locked", message.m_lock, 0);
  out.Int(L"card", message.m_cardId, 0);
  out.Text(L"simText", message.m_simText);
  out.Int(L"flag", message.m_flag, 0);
  out.Text(L"text1", message.m_opaqueText1);
  out.Int(L"int1", message.m_opaqueInt1, defaults.m_opaqueInt1);
  out.Int(L"int2", message.m_opaqueInt2, defaults.m_opaqueInt2);
  out.Text(L"text2", message.m_opaqueText2);
  out.Text(L"text3", message.m_opaqueText3);
  out.Int(L"int3", message.m_opaqueInt3, defaults.m_opaqueInt3);
  out.PreserveSpace();
  out.Content(message.m_body);
  out.End();
}

bool ReadMessage(XmlIn& in, const Element& element, Message::CSMSData& message) {
  return in.Get(element, L"id", message.m_id) && in.Get(element, L"folder", message.m_folderId) &&
         in.Get(element, L"number", message.m_phoneNumber) && in.Get(element, L"contactName", message.m_contactName) &&
         in.Get(element, L"contactId", message.m_contactId) && in.Get(element, L"time", message.m_time) &&
         in.Get(element, L"read", message.m_read) && in.Get(element, L"state", message.m_state) &&
         in.Get(element, L"draft", message.m_draftMarker) && in.Get(element, L"locked", message.m_lock) &&
         in.Get(element, L"card", message.m_cardId) && in.Get(element, L"simText", message.m_simText) &&
         in.Get(element, L"flag", message.m_flag) && in.Get(element, L"text1", message.m_opaqueText1) &&
         in.Get(element, L"int1", message.m_opaqueInt1) && in.Get(element, L"int2", message.m_opaqueInt2) &&
         in.Get(element, L"text2", message.m_opaqueText2) && in.Get(element, L"text3", message.m_opaqueText3) &&
         in.Get(element, L"int3", message.m_opaqueInt3) && in.Content(element, message.m_body);
}

bool Ticked(const Tick& tick) { return !tick || tick(); }

}  // namespace

bool WriteContactsXml(const ContactSet& set, std::string& bytes, std::wstring& error, const Tick& tick) {
  bytes.clear();
  error.clear();
  XmlOut out;
  if (!out.Open(error)) return false;
  out.Root(L"contacts", kContactsNs);
  for (const Contact::CGroupData& group : set.groups) WriteGroup(out, group);
  for (const Contact::CContactData& contact : set.contacts) {
    WriteContact(out, contact);
    if (!Ticked(tick)) return false;
  }
  out.End();
  return out.Finish(error, &bytes);
}

bool ReadContactsXml(std::string_view bytes, ContactSet& set, std::wstring& error, const Tick& tick) {
  set = {};
  error.clear();
  ContactSet read;
  XmlIn in;
  Element root;
  bool ok = in.Open(bytes) && in.Root(root, L"contacts", kContactsNs) &&
            in.Children(root, [&](const Element& element) {
              if (element.Is(L"group")) return ReadGroup(in, element, read.groups.emplace_back());
              if (!element.Is(L"contact")) return in.Skip(element);
              return ReadContact(in, element, read.contacts.emplace_back()) && (Ticked(tick) || in.Cancel());
            }) &&
            in.End();
  if (!ok) {
    error = in.error();
    return false;
  }
  set = std::move(read);
  return true;
}

bool WriteMessagesXml(const MessageSet& set, bool withFolders, std::string& bytes, std::wstring& error,
                      const Tick& tick) {
  bytes.clear();
  error.clear();
  XmlOut out;
  if (!out.Open(error)) return false;
  out.Root(L"messages", kMessagesNs);
  if (withFolders) {
    out.Start(L"folders");
    for (const Message::CFolder& folder : set.folders) WriteFolder(out, folder);
    out.End();
  }
  for (const Message::CSMSData& message : set.messages) {
    WriteMessage(out, message, withFolders);
    if (!Ticked(tick)) return false;
  }
  out.End();
  return out.Finish(error, &bytes);
}

bool ReadMessagesXml(std::string_view bytes, MessageSet& set, std::wstring& error, const Tick& tick) {
  set = {};
  error.clear();
  MessageSet read;
  XmlIn in;
  Element root;
  auto readFolders = [&](const Element& folders) {
    return in.Children(folders, [&](const Element& element) {
      if (!element.Is(L"folder")) return in.Skip(element);
      return ReadFolder(in, element, read.folders.emplace_back());
    });
  };
  bool ok = in.Open(bytes) && in.Root(root, L"messages", kMessagesNs) &&
            in.Children(root, [&](const Element& element) {
              if (element.Is(L"folders")) return readFolders(element);
              if (!element.Is(L"message")) return in.Skip(element);
              return ReadMessage(in, element, read.messages.emplace_back()) && (Ticked(tick) || in.Cancel());
            }) &&
            in.End();
  if (!ok) {
    error = in.error();
    return false;
  }
  set = std::move(read);
  return true;
}

}  // namespace files
