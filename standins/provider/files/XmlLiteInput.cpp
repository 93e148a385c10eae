#include "XmlLiteInput.h"

#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <cstdio>

#include "TextCodec.h"

namespace files {
namespace {

// Whether this XmlLite reads a reference past U+FFFF whole. Wine's keeps only
// its low 16 bits (it takes the pair's two halves as references instead,
// which Windows' reader refuses), so it is asked once.
bool ReadsWideReferences() {
  static const bool whole = [] {
    const char probe[] = "<?xml version=\"1.0\"?><a>&#x1F600;</a>";
    IStream* stream = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(probe), sizeof probe - 1);
    IXmlReader* reader = nullptr;
    bool answer = true;
    if (stream && SUCCEEDED(::CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr)) &&
        SUCCEEDED(reader->SetInput(stream))) {
      XmlNodeType type;
      while (reader->Read(&type) == S_OK)
        if (type == XmlNodeType_Text) {
          const wchar_t* value = nullptr;
          UINT size = 0;
          if (SUCCEEDED(reader->GetValue(&value, &size))) answer = size == 2 && value[0] == 0xD83D;
          break;
        }
    }
    if (reader) reader->Release();
    if (stream) stream->Release();
    return answer;
  }();
  return whole;
}

// A character past ASCII as a reference; answers how many UTF-16 units it took.
size_t AppendReference(std::string& out, std::wstring_view text, size_t at) {
  uint32_t code = text[at];
  char reference[24];
  if (IS_HIGH_SURROGATE(code) && at + 1 < text.size() && IS_LOW_SURROGATE(text[at + 1])) {
    unsigned low = text[at + 1];
    if (ReadsWideReferences())
      std::snprintf(reference, sizeof reference, "&#x%X;", 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
    else
      std::snprintf(reference, sizeof reference, "&#x%X;&#x%X;", static_cast<unsigned>(code), low);
    out += reference;
    return 2;
  }
  if (IS_HIGH_SURROGATE(code) || IS_LOW_SURROGATE(code)) code = 0xFFFD;
  std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(code));
  out += reference;
  return 1;
}

std::wstring Utf16(std::string_view bytes, bool bigEndian) {
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  return text;
}

// The encoding the declaration names, or empty.
std::string DeclaredEncoding(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml") return {};
  std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  size_t open = declaration.find_first_of("\"'", at);
  if (open == std::string_view::npos) return {};
  size_t close = declaration.find(declaration[open], open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(declaration.substr(open + 1, close - open - 1));
}

std::wstring DecodeDocument(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return FromUtf8(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return Utf16(bytes.substr(2), false);
  if (bytes.substr(0, 2) == "\xFE\xFF") return Utf16(bytes.substr(2), true);
  if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '\0') return Utf16(bytes, false);
  if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '<') return Utf16(bytes, true);
  std::string encoding = DeclaredEncoding(bytes);
  std::wstring text;
  if (!encoding.empty() && Decode(bytes, encoding, text)) return text;
  return FromUtf8(bytes);
}

}  // namespace

std::string XmlLiteInput(std::string_view bytes) {
  std::wstring text = DecodeDocument(bytes);
  size_t at = 0;
  std::string out;
  out.reserve(text.size() + text.size() / 4 + 64);
  if (text.compare(0, 5, L"<?xml") == 0) {  // it may name an encoding the ASCII text no longer has
    size_t end = text.find(L"?>");
    at = end == std::wstring::npos ? text.size() : end + 2;
  }
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
  enum { kText, kTag, kQuoted } state = kText;
  wchar_t quote = 0;
  for (; at < text.size(); ++at) {
    wchar_t c = text[at];
    if (state == kText && c == L'<' && text.compare(at, 9, L"<![CDATA[") == 0) {
      size_t end = text.find(L"]]>", at + 9);
      end = end == std::wstring::npos ? text.size() : end;
      for (size_t i = at + 9; i < end;) {
        wchar_t d = text[i];
        if (d >= 0x80) {
          i += AppendReference(out, text, i);
          continue;
        }
        out += d == L'&' ? "&amp;" : d == L'<' ? "&lt;" : d == L'>' ? "&gt;" : std::string(1, static_cast<char>(d));
        ++i;
      }
      at = end + 2;
      continue;
    }
    if (state == kText && c == L'<' && text.compare(at, 4, L"<!--") == 0) {
      // A comment carries no references: its characters past ASCII are dropped.
      size_t end = text.find(L"-->", at + 4);
      end = end == std::wstring::npos ? text.size() : end + 3;
      for (size_t i = at; i < end; ++i)
        if (text[i] < 0x80) out += static_cast<char>(text[i]);
      at = end - 1;
      continue;
    }
    if (state == kText && c == L'<') state = kTag;
    else if (state == kTag && c == L'>') state = kText;
    else if (state == kTag && (c == L'"' || c == L'\'')) state = kQuoted, quote = c;
    else if (state == kQuoted && c == quote) state = kTag;
    if (c < 0x80) out += static_cast<char>(c);
    else if (state == kTag) out += ToUtf8(std::wstring_view(&text[at], 1));  // a name: kept as it is
    else at += AppendReference(out, text, at) - 1;
  }
  out += "  ";  // the input never ends inside or right after the declaration
  return out;
}

}  // namespace files
