#include "VCard.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <initializer_list>
#include <map>

namespace files {
namespace {

using Contact::CContactData;

// What a damaged file may cost: a text value longer than this, or a card
// with more lines or bytes, makes the card unreadable instead of eating memory.
constexpr size_t kMaxValueBytes = 1 << 20;
constexpr size_t kMaxCardBytes = 4 << 20;
constexpr size_t kMaxCardLines = 5000;

// --- small text helpers ---

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperChar(c);
  return out;
}

bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

bool IStartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && IEquals(text.substr(0, prefix.size()), prefix);
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::wstring TrimW(std::wstring_view text) {
  while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
  while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
  return std::wstring(text);
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    size_t extra = c < 0x80                 ? 0
                   : c >= 0xC2 && c <= 0xDF ? 1
                   : c >= 0xE0 && c <= 0xEF ? 2
                   : c >= 0xF0 && c <= 0xF4 ? 3
                                            : 9;
    if (extra == 9 || extra >= bytes.size() - i) return false;
    for (size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

// Bytes whose character set the card does not name. UTF-8 when they are valid
// UTF-8 (every 3.0/4.0 writer, and modern 2.1 ones); otherwise the phones that
// leave the set out are mostly Chinese ones writing GBK, so GB18030 (its
// superset) is the better guess than a Western code page.
std::wstring GuessText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return FromUtf8(bytes);
  std::wstring out;
  if (Decode(bytes, "GB18030", out) || Decode(bytes, "GBK", out)) return out;
  return FromUtf8(bytes);
}

bool IsCjk(wchar_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF);
}

// The name to show when no formatted name is given: Chinese, Japanese and
// Korean names read family first without spaces, others given name first.
std::wstring ComposeName(const std::wstring (&name)[Contact::kNameTextCount]) {
  const std::wstring& family = name[Contact::kFamilyName];
  const std::wstring& given = name[Contact::kGivenName];
  if (std::any_of(family.begin(), family.end(), IsCjk) || std::any_of(given.begin(), given.end(), IsCjk))
    return family + name[Contact::kMiddleName] + given;
  std::wstring out;
  for (int part : {Contact::kNamePrefix, Contact::kGivenName, Contact::kMiddleName, Contact::kFamilyName,
                   Contact::kNameSuffix}) {
    if (name[part].empty()) continue;
    if (!out.empty()) out += L' ';
    out += name[part];
  }
  return out;
}

// --- label codes and TYPE parameters ---

enum class Kind { kPhone, kEmail, kPostal };

struct Label {
  Label(int code = 0, std::wstring text = {}) : code(code), text(std::move(text)) {}
  int code;
  std::wstring text;  // the own label when code is 0
};

// TYPE lists written for the table codes; index = code.
constexpr const char* kPhoneTypes[] = {nullptr,     "HOME,VOICE", "CELL",         "WORK,VOICE",  "WORK,FAX",
                                       "HOME,FAX",  "PAGER",      "VOICE",        "X-CALLBACK",  "CAR",
                                       "X-COMPANY-MAIN", "ISDN",  "MAIN",         "FAX",         "X-RADIO",
                                       "X-TELEX",   "X-TTY-TDD",  "WORK,CELL",    "WORK,PAGER",  "X-ASSISTANT",
                                       "MSG"};
constexpr const char* kEmailTypes[] = {nullptr, "HOME", "WORK", "X-OTHER", "CELL"};
constexpr const char* kPostalTypes[] = {nullptr, "HOME", "WORK", "X-OTHER"};

int LastCode(Kind kind) { return kind == Kind::kPhone ? 20 : kind == Kind::kEmail ? 4 : 3; }

const char* TypesOf(Kind kind, int code) {
  if (code < 1 || code > LastCode(kind)) return nullptr;
  return kind == Kind::kPhone ? kPhoneTypes[code] : kind == Kind::kEmail ? kEmailTypes[code] : kPostalTypes[code];
}

bool Has(const std::vector<std::string>& types, std::initializer_list<const char*> names) {
  for (const auto& type : types)
    for (const char* name : names)
      if (IEquals(type, name)) return true;
  return false;
}

// A user's label carried as "X-<label>": the first X- type no rule knows.
bool CustomType(const std::vector<std::string>& types, Label& label) {
  for (const auto& type : types)
    if (type.size() > 2 && IStartsWith(type, "X-")) {
      label = {0, GuessText(type.substr(2))};
      return true;
    }
  return false;
}

// The label code of a TEL from its TYPE values; no type at all is taken as a
// mobile number, what a phone's contact mostly holds.
Label PhoneLabel(const std::vector<std::string>& types) {
  bool work = Has(types, {"WORK"});
  if (Has(types, {"X-ASSISTANT", "ASSISTANT"})) return {19};
  if (Has(types, {"X-CALLBACK", "CALLBACK"})) return {8};
  if (Has(types, {"X-COMPANY-MAIN", "COMPANY-MAIN"})) return {10};
  if (Has(types, {"X-RADIO", "RADIO"})) return {14};
  if (Has(types, {"X-TELEX", "TELEX", "TLX"})) return {15};
  if (Has(types, {"X-TTY-TDD", "TTY-TDD", "TTY", "TEXTPHONE"})) return {16};
  if (Has(types, {"MAIN", "X-MAIN"})) return {12};
  if (Has(types, {"ISDN"})) return {11};
  if (Has(types, {"CAR"})) return {9};
  if (Has(types, {"PAGER"})) return {work ? 18 : 6};
  if (Has(types, {"CELL", "IPHONE", "MOBILE", "X-MOBILE"})) return {work ? 17 : 2};
  if (Has(types, {"FAX"})) return {work ? 4 : Has(types, {"HOME"}) ? 5 : 13};
  if (Has(types, {"MSG", "X-MMS", "MMS"})) return {20};
  if (Has(types, {"OTHER", "X-OTHER"})) return {7};
  if (Has(types, {"HOME"})) return {1};
  if (work) return {3};
  Label custom;
  if (CustomType(types, custom)) return custom;
  return {Has(types, {"VOICE"}) ? 7 : 2};
}

// E-mail without a type is Other.
Label EmailLabel(const std::vector<std::string>& types) {
  if (Has(types, {"CELL", "X-MOBILE", "MOBILE"})) return {4};
  if (Has(types, {"HOME"})) return {1};
  if (Has(types, {"WORK"})) return {2};
  if (Has(types, {"OTHER", "X-OTHER"})) return {3};
  Label custom;
  return CustomType(types, custom) ? custom : Label{3};
}

// An address without a type is the home address.
Label PostalLabel(const std::vector<std::string>& types) {
  if (Has(types, {"HOME"})) return {1};
  if (Has(types, {"WORK"})) return {2};
  if (Has(types, {"OTHER", "X-OTHER"})) return {3};
  Label custom;
  return CustomType(types, custom) ? custom : Label{1};
}

Label LabelOfTypes(Kind kind, const std::vector<std::string>& types) {
  return kind == Kind::kPhone ? PhoneLabel(types) : kind == Kind::kEmail ? EmailLabel(types) : PostalLabel(types);
}

std::wstring Folded(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text)
    if (c != L' ' && c != L'-') out += static_cast<wchar_t>(std::towlower(c));
  return out;
}

const std::wstring& TableText(Kind kind, int code) {
  static const Contact::CPhoneData phone;
  static const Contact::CEmailData email;
  static const Contact::CPostalData postal;
  return kind == Kind::kPhone ? phone.GetTypeLabel(code) : kind == Kind::kEmail ? email.GetTypeLabel(code)
                                                                                 : postal.GetTypeLabel(code);
}

// Apple wraps its own words in a label as "_$!<Mobile>!$_".
std::wstring UnwrapApple(const std::wstring& text, bool* wrapped = nullptr) {
  bool apple = text.size() >= 8 && text.compare(0, 4, L"_$!<") == 0 && text.compare(text.size() - 4, 4, L">!$_") == 0;
  if (wrapped) *wrapped = apple;
  return apple ? text.substr(4, text.size() - 8) : text;
}

// A group's X-ABLabel. Apple wraps its own words as "_$!<Mobile>!$_"; those
// name a table code when one has that text ("HomeFAX" = "Home Fax"); any
// other label is the user's own, kept as written.
Label LabelOfGroup(Kind kind, const std::wstring& text) {
  bool apple = false;
  std::wstring inner = UnwrapApple(text, &apple);
  if (!apple) return {0, text};
  if (kind == Kind::kPhone && Folded(inner) == L"iphone") return {2};
  for (int code = 1; code <= LastCode(kind); ++code)
    if (Folded(TableText(kind, code)) == Folded(inner)) return {code};
  return {0, inner};
}

// Whether "X-<label>" reads back as exactly this own label.
bool IsTokenLabel(Kind kind, const std::wstring& label) {
  if (label.empty() || label.size() > 40) return false;
  for (wchar_t c : label)
    if (!((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'-')) return false;
  Label back = LabelOfTypes(kind, {"X-" + ToUtf8(label)});
  return back.code == 0 && back.text == label;
}

// --- writing ---

// Escapes a text value: backslash, comma and semicolon, line ends as \n.
// Other control characters cannot travel in a line and are dropped.
std::string EscapeUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    if (c == '\\' || c == ',' || c == ';') {
      out += '\\';
      out += c;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      out += "\\n";
    } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
      out += c;
    } else if (c == '\t') {
      out += c;
    }
  }
  return out;
}

std::string Escape(std::wstring_view text) { return EscapeUtf8(ToUtf8(text)); }

// A parameter value: quoted when it holds a separator, quotes and control
// characters left out (a parameter cannot carry them).
std::string ParamValue(const std::wstring& text) {
  std::string value;
  bool quote = false;
  for (char c : ToUtf8(text)) {
    if (c == '"' || (static_cast<unsigned char>(c) < 0x20) || c == 0x7F) continue;
    quote = quote || c == ';' || c == ':' || c == ',' || c == ' ';
    value += c;
  }
  return quote ? "\"" + value + "\"" : value;
}

class CardWriter {
 public:
  // Adds a line folded at 75 octets; a continuation starts with a space and
  // no fold falls inside a UTF-8 sequence.
  void Line(std::string_view line) {
    bool first = true;
    while (!line.empty() || first) {
      size_t room = first ? 75 : 74;
      size_t end = std::min(room, line.size());
      if (end < line.size())
        while (end > 1 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
      if (!first) text_ += ' ';
      text_.append(line.substr(0, end));
      text_ += "\r\n";
      line.remove_prefix(end);
      first = false;
    }
  }

  // A labelled entry: the TYPE list of its code, "X-<label>" for an own label
  // that is a plain word, else Apple's grouping with the label beside it.
  void Entry(Kind kind, std::string_view name, std::string types, int code, const std::wstring& label, bool primary,
             const std::string& value) {
    const char* table = TypesOf(kind, code);
    bool grouped = false;
    if (table) {
      if (!types.empty()) types += ',';
      types += table;
    } else if (IsTokenLabel(kind, label)) {
      if (!types.empty()) types += ',';
      types += "X-" + ToUtf8(label);
    } else {
      grouped = true;
    }
    if (primary) types += types.empty() ? "PREF" : ",PREF";
    std::string head(name);
    if (!types.empty()) head += ";TYPE=" + types;
    if (!grouped) return Line(head + ":" + value);
    std::string group = "item" + std::to_string(++groups_) + ".";
    Line(group + head + ":" + value);
    Line(group + "X-ABLabel:" + Escape(label));
  }

  int NextGroup() { return ++groups_; }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
  int groups_ = 0;
};

struct ImProperty {
  int protocol;
  const char* name;
};
// The first entry of a protocol is the one written; the rest are read too.
constexpr ImProperty kImProperties[] = {{1, "X-AIM"},   {2, "X-MSN"},         {3, "X-YAHOO"},  {4, "X-SKYPE-USERNAME"},
                                        {5, "X-QQ"},    {6, "X-GOOGLE-TALK"}, {7, "X-ICQ"},    {8, "X-JABBER"},
                                        {4, "X-SKYPE"}, {6, "X-GTALK"},       {2, "X-WINDOWS-LIVE"}, {3, "X-YAHOO-ID"}};

// The protocol of an account. Accounts made by the contact editor carry it in
// the label code as well; older records only there.
int ProtocolOf(const Contact::CIMData& im) {
  if (im.m_protocol >= 1 && im.m_protocol <= 8) return im.m_protocol;
  if (im.m_protocol == 0 && im.m_type >= 1 && im.m_type <= 8) return im.m_type;
  return 0;
}

// IMPP values are URIs: the few characters that would change their meaning
// are percent-encoded.
std::string PercentEncode(std::string_view utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : utf8) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '%' || u <= 0x20 || u == 0x7F) {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

void WriteIm(CardWriter& writer, const Contact::CIMData& im) {
  std::string pref = im.m_primary ? ";TYPE=PREF" : "";
  int protocol = ProtocolOf(im);
  for (const auto& property : kImProperties)
    if (property.protocol == protocol) return writer.Line(property.name + pref + ":" + Escape(im.m_data));
  std::string head = "IMPP";
  if (!im.m_label.empty()) head += ";X-SERVICE-TYPE=" + ParamValue(im.m_label);
  writer.Line(head + pref + ":" + EscapeUtf8("x-apple:" + PercentEncode(ToUtf8(im.m_data))));
}

std::string Structured(std::initializer_list<const std::wstring*> parts) {
  std::string out;
  for (const std::wstring* part : parts) {
    if (part != *parts.begin()) out += ';';
    out += Escape(*part);
  }
  return out;
}

void WriteNames(CardWriter& writer, const CContactData& contact) {
  const auto& name = contact.m_name;
  writer.Line("N:" + Structured({&name[Contact::kFamilyName], &name[Contact::kGivenName], &name[Contact::kMiddleName],
                                 &name[Contact::kNamePrefix], &name[Contact::kNameSuffix]}));
  std::wstring formatted = !name[Contact::kDisplayName].empty() ? name[Contact::kDisplayName]
                           : !name[Contact::kFullName].empty()  ? name[Contact::kFullName]
                                                                : ComposeName(name);
  writer.Line("FN:" + Escape(formatted));
  const std::pair<int, const char*> phonetic[] = {{Contact::kPhoneticFamilyName, "X-PHONETIC-LAST-NAME"},
                                                  {Contact::kPhoneticGivenName, "X-PHONETIC-FIRST-NAME"},
                                                  {Contact::kPhoneticMiddleName, "X-PHONETIC-MIDDLE-NAME"}};
  for (const auto& [part, property] : phonetic)
    if (!name[part].empty()) writer.Line(std::string(property) + ":" + Escape(name[part]));
  for (const auto& nickname : contact.m_nicknames) writer.Line("NICKNAME:" + Escape(nickname.m_data));
}

void WriteEntries(CardWriter& writer, const CContactData& contact) {
  for (const auto& phone : contact.m_phones)
    writer.Entry(Kind::kPhone, "TEL", "", phone.m_type, phone.m_label, phone.m_primary, Escape(phone.m_data));
  for (const auto& email : contact.m_emails)
    writer.Entry(Kind::kEmail, "EMAIL", "INTERNET", email.m_type, email.m_label, email.m_primary, Escape(email.m_data));
  for (const auto& postal : contact.m_postals) {
    const auto& a = postal.m_data;
    std::string value = Structured({&a.m_poBox, &a.m_neighborhood, &a.m_street, &a.m_city, &a.m_region,
                                    &a.m_postcode, &a.m_country});
    writer.Entry(Kind::kPostal, "ADR", "", postal.m_type, postal.m_label, postal.m_primary, value);
  }
  for (const auto& organization : contact.m_organizations) {
    const auto& o = organization.m_data;
    writer.Line("ORG:" + Structured({&o.m_company, &o.m_department}));
    if (!o.m_title.empty()) writer.Line("TITLE:" + Escape(o.m_title));
    if (!o.m_jobDescription.empty()) writer.Line("ROLE:" + Escape(o.m_jobDescription));
  }
  for (const auto& im : contact.m_ims) WriteIm(writer, im);
  for (const auto& website : contact.m_websites) {
    if (website.m_label.empty()) {
      writer.Line("URL:" + Escape(website.m_data));
      continue;
    }
    std::string group = "item" + std::to_string(writer.NextGroup()) + ".";
    writer.Line(group + "URL:" + Escape(website.m_data));
    writer.Line(group + "X-ABLabel:" + Escape(website.m_label));
  }
}

// --- reading: lines ---

// The physical lines of the text. CR, LF, CRLF and the CR CR LF of files
// converted twice each end one line.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  std::string_view Peek() const {
    size_t next;
    return Cut(next);
  }
  std::string_view Take() {
    size_t next;
    std::string_view line = Cut(next);
    pos_ = next;
    ++number_;
    return line;
  }
  size_t Number() const { return number_; }  // of the line taken last, from 1

 private:
  std::string_view Cut(size_t& next) const {
    size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
      next = text_.size();
      return text_.substr(std::min(pos_, text_.size()));
    }
    next = end + 1;
    if (text_[end] == '\r') {
      if (next < text_.size() && text_[next] == '\n')
        ++next;
      else if (next + 1 < text_.size() && text_[next] == '\r' && text_[next + 1] == '\n')
        next += 2;
    }
    return text_.substr(pos_, end - pos_);
  }

  std::string_view text_;
  size_t pos_ = 0;
  size_t number_ = 0;
};

bool IsMarker(std::string_view line, std::string_view marker) { return IEquals(Trim(line), marker); }
bool IsBegin(std::string_view line) { return IsMarker(line, "BEGIN:VCARD"); }
bool IsEnd(std::string_view line) { return IsMarker(line, "END:VCARD"); }

// Where name and parameters end: the first colon outside double quotes (a
// quoted parameter may hold one). With an unbalanced quote, as a careless
// 2.1 writer leaves it, simply the first colon.
size_t HeadEnd(std::string_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"')
      quoted = !quoted;
    else if (line[i] == ':' && !quoted)
      return i;
  }
  return quoted ? line.find(':') : std::string_view::npos;
}

std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == '"') quoted = !quoted;
    if (i == text.size() || (text[i] == separator && !quoted)) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

bool IsName(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsNameChar); }

bool IsBase64Line(std::string_view line) {
  line = Trim(line);
  return !line.empty() && std::all_of(line.begin(), line.end(), [](char c) {
    return (IsNameChar(c) && c != '-' && c != '_') || c == '+' || c == '/' || c == '=' || c == ' ';
  });
}

bool HasControlBytes(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u < 0x20 && c != '\t') || u == 0x7F;
  });
}

struct Param {
  std::string name;  // upper-case; empty for a 2.1 bare value ("TEL;CELL:")
  std::string value;
};

struct Property {
  std::string group;  // upper-case
  std::string name;   // upper-case
  std::vector<Param> params;
  std::string value;  // as in the file: still escaped and encoded
};

struct RawCard {
  size_t number = 0;
  bool v21 = false;
  std::vector<Property> properties;
  size_t bytes = 0;
  std::wstring problem;  // the first reason the card cannot be read
};

void Fail(RawCard& card, size_t line, const std::wstring& what) {
  if (card.problem.empty()) card.problem = what + L" (line " + std::to_wstring(line) + L")";
}

bool ParseHead(std::string_view head, Property& property) {
  std::vector<std::string_view> parts = SplitOutsideQuotes(head, ';');
  std::string_view name = Trim(parts[0]);
  size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) {
    std::string_view group = name.substr(0, dot);
    if (group.empty() || !std::all_of(group.begin(), group.end(), [](char c) { return IsNameChar(c) || c == '.'; }))
      return false;
    property.group = Upper(group);
    name = name.substr(dot + 1);
  }
  if (!IsName(name)) return false;
  property.name = Upper(name);
  for (size_t i = 1; i < parts.size(); ++i) {
    std::string_view part = Trim(parts[i]);
    if (part.empty()) continue;
    size_t equals = part.find('=');
    Param param;
    std::string_view value = equals == std::string_view::npos ? part : Trim(part.substr(equals + 1));
    if (equals != std::string_view::npos) param.name = Upper(Trim(part.substr(0, equals)));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    param.value = std::string(value);
    property.params.push_back(std::move(param));
  }
  return true;
}

bool IsBinaryName(std::string_view name) {
  return IEquals(name, "PHOTO") || IEquals(name, "LOGO") || IEquals(name, "SOUND") || IEquals(name, "KEY");
}

// Inline pictures and sounds: the folded lines, and the unindented base64
// lines some 2.1 writers put below, are passed over without being kept.
void SkipBinary(Lines& lines) {
  while (!lines.AtEnd()) {
    std::string_view next = lines.Peek();
    if (next.empty() || !(next[0] == ' ' || next[0] == '\t' || IsBase64Line(next))) return;
    lines.Take();
  }
}

// Reads one property with what continues it: 3.0 folding (a line that starts
// with a space or tab) and 2.1 quoted-printable soft breaks ("=" at the end).
void ReadProperty(Lines& lines, RawCard& card) {
  std::string_view first = lines.Take();
  size_t number = lines.Number();
  std::string_view name = Trim(first.substr(0, first.find_first_of(";:")));
  if (size_t dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(dot + 1);
  if (IsBinaryName(name)) return SkipBinary(lines);

  // A line too long for any text keeps only its head, for the message.
  bool tooLong = first.size() > kMaxValueBytes;
  size_t colon = first.find(':');
  std::string logical(tooLong ? first.substr(0, colon == std::string_view::npos ? 0 : colon + 1) : first);
  size_t head = std::string_view::npos;
  bool quotedPrintable = false;
  // The head decides how lines continue; it is known once its colon is.
  auto findHead = [&] {
    if (head != std::string_view::npos || (head = HeadEnd(logical)) == std::string_view::npos) return;
    quotedPrintable = Upper(logical.substr(0, head)).find("QUOTED-PRINTABLE") != std::string::npos;
  };
  findHead();
  while (!lines.AtEnd()) {
    std::string_view next = lines.Peek();
    bool softBreak = quotedPrintable && !logical.empty() && logical.back() == '=' && !IsBegin(next) && !IsEnd(next);
    bool fold = !next.empty() && (next[0] == ' ' || next[0] == '\t');
    if (!softBreak && !fold) break;
    lines.Take();
    if (softBreak) logical.pop_back();
    std::string_view piece = softBreak ? next : next.substr(1);
    if (tooLong || logical.size() + piece.size() > kMaxValueBytes) {
      tooLong = true;
      continue;
    }
    logical.append(piece);
    findHead();
  }

  if (HasControlBytes(logical)) return Fail(card, number, L"a line of unreadable bytes");
  if (head == std::string_view::npos) return Fail(card, number, L"a line without ':'");
  Property property;
  if (!ParseHead(std::string_view(logical).substr(0, head), property))
    return Fail(card, number, L"a line that is no property");
  if (tooLong) return Fail(card, number, L"a value longer than 1 MB");
  if (card.properties.size() >= kMaxCardLines || card.bytes + logical.size() > kMaxCardBytes)
    return Fail(card, number, L"too large a card");
  property.value = logical.substr(head + 1);
  if (property.name == "VERSION") {
    std::string_view version = Trim(property.value);
    if (version != "2.1" && version != "3.0" && version != "4.0")
      return Fail(card, number, L"an unknown VERSION \"" + GuessText(version.substr(0, 16)) + L"\"");
    card.v21 = version == "2.1";
  }
  card.bytes += logical.size();
  card.properties.push_back(std::move(property));
}

enum class CardEnd { kEnd, kNextBegin, kEndOfText };

CardEnd CollectCard(Lines& lines, RawCard& card) {
  while (!lines.AtEnd()) {
    std::string_view next = lines.Peek();
    if (Trim(next).empty()) {
      lines.Take();
      continue;
    }
    if (IsBegin(next)) return CardEnd::kNextBegin;  // left for the caller: it starts the next card
    if (IsEnd(next)) {
      lines.Take();
      return CardEnd::kEnd;
    }
    ReadProperty(lines, card);
  }
  return CardEnd::kEndOfText;
}

// --- reading: values ---

std::string_view ParamOf(const Property& property, std::string_view name) {
  for (const auto& param : property.params)
    if (param.name == name) return param.value;
  return {};
}

bool HasBare(const Property& property, std::initializer_list<const char*> values) {
  for (const auto& param : property.params)
    if (param.name.empty())
      for (const char* value : values)
        if (IEquals(param.value, value)) return true;
  return false;
}

bool IsQuotedPrintable(const Property& property) {
  return IEquals(ParamOf(property, "ENCODING"), "QUOTED-PRINTABLE") || HasBare(property, {"QUOTED-PRINTABLE"});
}

bool IsBase64(const Property& property) {
  std::string_view encoding = ParamOf(property, "ENCODING");
  return IEquals(encoding, "B") || IEquals(encoding, "BASE64") || HasBare(property, {"BASE64"});
}

// The TYPE values: 3.0 lists (repeated or comma-separated, 4.0 quoted) and
// 2.1 bare parameters.
std::vector<std::string> TypesOf(const Property& property) {
  std::vector<std::string> types;
  for (const auto& param : property.params) {
    if (param.name == "TYPE") {
      for (std::string_view type : SplitOutsideQuotes(param.value, ','))
        if (!Trim(type).empty()) types.emplace_back(Trim(type));
    } else if (param.name.empty() &&
               !Has({param.value}, {"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"})) {
      types.push_back(param.value);
    }
  }
  return types;
}

bool IsPreferred(const Property& property) {
  for (const auto& param : property.params)
    if (param.name == "PREF" && (param.value.empty() || Trim(param.value) == "1")) return true;
  return Has(TypesOf(property), {"PREF"});
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = UpperChar(c);
  return (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
}

std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else if (!(text[i] == '=' && i + 1 == text.size())) {
      out += text[i];
    }
  }
  return out;
}

std::string DecodeBase64(std::string_view text) {
  std::string out;
  unsigned buffer = 0;
  int bits = 0;
  for (char c : text) {
    int value = (c >= 'A' && c <= 'Z') ? c - 'A' : (c >= 'a' && c <= 'z') ? c - 'a' + 26
                : (c >= '0' && c <= '9') ? c - '0' + 52 : c == '+' ? 62 : c == '/' ? 63 : -1;
    if (value < 0) continue;
    buffer = (buffer << 6) | static_cast<unsigned>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((buffer >> bits) & 0xFF);
    }
  }
  return out;
}

std::wstring NormalizeLineEnds(std::wstring text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L'\n';
    } else {
      out += text[i];
    }
  }
  return out;
}

struct CardContext {
  bool v21 = false;
  bool unicodeFile = false;  // the file was UTF-16: its text is Unicode already
  std::map<std::string, std::wstring> groupLabels;
};

// The value as text, still escaped: transfer encoding undone, then the
// character set (named, or guessed).
std::wstring RawText(const CardContext& context, const Property& property) {
  bool encoded = IsQuotedPrintable(property) || IsBase64(property);
  if (context.unicodeFile && !encoded) return NormalizeLineEnds(FromUtf8(property.value));
  std::string bytes = IsQuotedPrintable(property) ? DecodeQuotedPrintable(property.value)
                      : IsBase64(property)        ? DecodeBase64(property.value)
                                                  : property.value;
  std::wstring text;
  std::string_view charset = ParamOf(property, "CHARSET");
  if (charset.empty() || !Decode(bytes, charset, text)) text = GuessText(bytes);
  return NormalizeLineEnds(std::move(text));
}

// 3.0/4.0 escapes \\ \, \; \n; 2.1 knows no \n. An unknown escape keeps its
// backslash (a Windows path written by a careless program).
std::wstring Unescape(std::wstring_view text, bool v21) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    wchar_t next = i + 1 < text.size() ? text[i + 1] : 0;
    if (c == L'\\' && !v21 && (next == L'n' || next == L'N')) {
      out += L'\n';
      ++i;
    } else if (c == L'\\' && (next == L'\\' || next == L',' || next == L';' || next == L':')) {
      out += next;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

// Splits on separators that no backslash escapes; the parts stay escaped.
std::vector<std::wstring> SplitEscaped(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring> parts(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size()) {
      parts.back() += text[i];
      parts.back() += text[++i];
    } else if (text[i] == separator) {
      parts.emplace_back();
    } else {
      parts.back() += text[i];
    }
  }
  return parts;
}

std::wstring Text(const CardContext& context, const Property& property) {
  return Unescape(RawText(context, property), context.v21);
}

std::vector<std::wstring> Parts(const CardContext& context, const Property& property, wchar_t separator,
                                size_t count = 0) {
  std::vector<std::wstring> parts = SplitEscaped(RawText(context, property), separator);
  for (auto& part : parts) part = Unescape(part, context.v21);
  if (parts.size() < count) parts.resize(count);
  return parts;
}

const std::wstring* GroupLabel(const CardContext& context, const Property& property) {
  if (property.group.empty()) return nullptr;
  auto found = context.groupLabels.find(property.group);
  return found == context.groupLabels.end() ? nullptr : &found->second;
}

Label EntryLabel(const CardContext& context, const Property& property, Kind kind) {
  if (const std::wstring* label = GroupLabel(context, property)) return LabelOfGroup(kind, *label);
  return LabelOfTypes(kind, TypesOf(property));
}

template <class Entry, class Value>
void AddEntry(std::vector<Entry>& entries, const Label& label, Value value, bool primary) {
  entries.emplace_back(label.code, std::move(value), label.code == 0 ? label.text : std::wstring(), primary);
}

std::wstring PercentDecode(const std::wstring& text) {
  std::string utf8 = ToUtf8(text), out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '%' && i + 2 < utf8.size() && HexDigit(utf8[i + 1]) >= 0 && HexDigit(utf8[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(utf8[i + 1]) * 16 + HexDigit(utf8[i + 2]));
      i += 2;
    } else {
      out += utf8[i];
    }
  }
  return GuessText(out);
}

// An IMPP account: the service parameter names the protocol, else the URI
// scheme ("xmpp:a@b"); a service no protocol has becomes the own label.
void ReadImpp(const CardContext& context, const Property& property, CContactData& contact) {
  struct Name {
    const wchar_t* name;
    int protocol;
  };
  static const Name kServices[] = {{L"aim", 1},    {L"msn", 2},        {L"windowslive", 2}, {L"msnim", 2},
                                   {L"yahoo", 3},  {L"ymsgr", 3},      {L"skype", 4},       {L"qq", 5},
                                   {L"googletalk", 6}, {L"gtalk", 6},  {L"icq", 7},         {L"jabber", 8},
                                   {L"xmpp", 8}};
  std::wstring value = TrimW(Text(context, property));
  std::wstring scheme;
  size_t colon = value.find(L':');
  if (colon != std::wstring::npos && colon > 0 &&
      std::all_of(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(colon),
                  [](wchar_t c) { return std::iswalnum(c) || c == L'-' || c == L'+' || c == L'.'; })) {
    scheme = value.substr(0, colon);
    value = PercentDecode(value.substr(colon + 1));
  }
  std::wstring service = GuessText(ParamOf(property, "X-SERVICE-TYPE"));
  if (service.empty() && Folded(scheme) != L"x-apple" && Folded(scheme) != L"xapple") service = scheme;
  Contact::CIMData im(0, value, L"", IsPreferred(property));
  for (const auto& known : kServices)
    if (Folded(service) == known.name) im.m_protocol = im.m_type = known.protocol;
  if (im.m_protocol == 0) im.m_label = service;
  if (!value.empty()) contact.m_ims.push_back(std::move(im));
}

void ReadName(const CardContext& context, const Property& property, CContactData& contact) {
  std::vector<std::wstring> parts = Parts(context, property, L';', 5);
  const int order[] = {Contact::kFamilyName, Contact::kGivenName, Contact::kMiddleName, Contact::kNamePrefix,
                       Contact::kNameSuffix};
  for (size_t i = 0; i < 5; ++i) contact.m_name[order[i]] = TrimW(parts[i]);
}

void ReadPostal(const CardContext& context, const Property& property, CContactData& contact) {
  std::vector<std::wstring> p = Parts(context, property, L';', 7);
  Contact::CPostalBaseData address{p[2], p[0], p[1], p[3], p[4], p[5], p[6]};
  if (address == Contact::CPostalBaseData{}) return;
  AddEntry(contact.m_postals, EntryLabel(context, property, Kind::kPostal), address, IsPreferred(property));
}

// ORG, TITLE and ROLE fill one organisation (of the Work kind) until a field
// comes again, which starts the next one: a card with two jobs lists each
// one's lines together.
void ReadOrganization(const CardContext& context, const Property& property, CContactData& contact) {
  using O = Contact::COrganizationBaseData;
  auto& list = contact.m_organizations;
  auto next = [&list](bool filled) -> O& {
    if (list.empty() || filled) list.emplace_back(1, O{});
    return list.back().m_data;
  };
  if (property.name == "ORG") {
    std::vector<std::wstring> parts = Parts(context, property, L';', 2);
    O& organization = next(!list.empty() && (!list.back().m_data.m_company.empty() ||
                                             !list.back().m_data.m_department.empty()));
    organization.m_company = parts[0];
    organization.m_department = parts[1];
  } else {
    auto field = property.name == "TITLE" ? &O::m_title : &O::m_jobDescription;
    next(!list.empty() && !(list.back().m_data.*field).empty()).*field = Text(context, property);
  }
}

bool IsTrue(const std::wstring& text) {
  std::wstring value = Folded(TrimW(text));
  return value == L"1" || value == L"true" || value == L"yes";
}

void AddNames(std::vector<std::wstring>& names, const std::vector<std::wstring>& parts) {
  for (const auto& part : parts) {
    std::wstring name = TrimW(part);
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
}

void ApplyProperty(const CardContext& context, const Property& property, CContactData& contact) {
  const std::string& name = property.name;
  if (name == "N") return ReadName(context, property, contact);
  if (name == "FN") contact.m_name[Contact::kDisplayName] = TrimW(Text(context, property));
  if (name == "X-PHONETIC-LAST-NAME") contact.m_name[Contact::kPhoneticFamilyName] = Text(context, property);
  if (name == "X-PHONETIC-FIRST-NAME") contact.m_name[Contact::kPhoneticGivenName] = Text(context, property);
  if (name == "X-PHONETIC-MIDDLE-NAME") contact.m_name[Contact::kPhoneticMiddleName] = Text(context, property);
  if (name == "NICKNAME")
    for (const auto& nickname : Parts(context, property, L','))
      if (!TrimW(nickname).empty()) contact.m_nicknames.emplace_back(0, TrimW(nickname));
  if (name == "TEL") {
    std::wstring number = TrimW(Text(context, property));
    if (number.size() >= 4 && Folded(number.substr(0, 4)) == L"tel:") number = TrimW(number.substr(4));
    if (!number.empty())
      AddEntry(contact.m_phones, EntryLabel(context, property, Kind::kPhone), number, IsPreferred(property));
  }
  if (name == "EMAIL") {
    std::wstring address = TrimW(Text(context, property));
    if (address.size() >= 7 && Folded(address.substr(0, 7)) == L"mailto:") address = address.substr(7);
    if (!address.empty())
      AddEntry(contact.m_emails, EntryLabel(context, property, Kind::kEmail), address, IsPreferred(property));
  }
  if (name == "ADR") ReadPostal(context, property, contact);
  if (name == "ORG" || name == "TITLE" || name == "ROLE") ReadOrganization(context, property, contact);
  if (name == "IMPP") ReadImpp(context, property, contact);
  for (const auto& im : kImProperties)
    if (name == im.name) {
      Contact::CIMData account(im.protocol, TrimW(Text(context, property)), L"", IsPreferred(property));
      account.m_protocol = im.protocol;
      if (!account.m_data.empty()) contact.m_ims.push_back(std::move(account));
    }
  if (name == "URL") {
    std::wstring url = TrimW(Text(context, property));
    const std::wstring* label = GroupLabel(context, property);
    if (!url.empty()) contact.m_websites.emplace_back(0, url, label ? UnwrapApple(*label) : L"");
  }
  if (name == "NOTE") {
    std::wstring note = Text(context, property);
    if (!TrimW(note).empty()) contact.m_notes.push_back(note);
  }
  if (name == "CATEGORIES") AddNames(contact.m_groupNames, Parts(context, property, L','));
  if ((name == "X-TAMIX-FAVORITE" || name == "X-STARRED") && IsTrue(Text(context, property))) contact.m_starred = 1;
}

CContactData Interpret(const RawCard& card, bool unicodeFile) {
  CardContext context;
  context.v21 = card.v21;
  context.unicodeFile = unicodeFile;
  for (const auto& property : card.properties)
    if (property.name == "X-ABLABEL" && !property.group.empty())
      context.groupLabels[property.group] = Text(context, property);
  CContactData contact;
  for (const auto& property : card.properties) ApplyProperty(context, property, contact);
  std::wstring& display = contact.m_name[Contact::kDisplayName];
  if (display.empty()) display = ComposeName(contact.m_name);
  // The handset composes the full name from the name's parts; a card with
  // only FN keeps that as the full name, so the handset does not name the
  // contact after its number.
  const auto& name = contact.m_name;
  if (name[Contact::kFamilyName].empty() && name[Contact::kGivenName].empty() && name[Contact::kMiddleName].empty())
    contact.m_name[Contact::kFullName] = display;
  return contact;
}

// The problem line of a card that cannot be read, with its name when it has one.
std::wstring Describe(const RawCard& card, bool unicodeFile) {
  std::wstring text = L"card " + std::to_wstring(card.number);
  CardContext context;
  context.v21 = card.v21;
  context.unicodeFile = unicodeFile;
  for (const auto& property : card.properties)
    if (property.name == "FN") {
      std::wstring name = TrimW(Text(context, property));
      if (!name.empty()) text += L" (" + name.substr(0, 64) + L")";
      break;
    }
  return text + L" skipped: " + card.problem;
}

// The text as UTF-8 bytes: a UTF-8 mark is dropped, UTF-16 (with its mark,
// or recognised by the zero bytes of "BEGIN") is converted.
std::string_view Unwrap(std::string_view bytes, std::string& converted, bool& unicode) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return bytes.substr(3);
  bool little = bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE";
  bool big = bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF";
  size_t skip = little || big ? 2 : 0;
  if (!little && !big && bytes.size() >= 4) {
    little = bytes[0] != 0 && bytes[1] == 0 && bytes[2] != 0 && bytes[3] == 0;
    big = bytes[0] == 0 && bytes[1] != 0 && bytes[2] == 0 && bytes[3] != 0;
  }
  if (!little && !big) return bytes;
  std::wstring wide;
  wide.reserve((bytes.size() - skip) / 2);
  for (size_t i = skip; i + 1 < bytes.size(); i += 2) {
    unsigned char a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    wide += static_cast<wchar_t>(little ? (b << 8 | a) : (a << 8 | b));
  }
  converted = ToUtf8(wide);
  unicode = true;
  return converted;
}

bool IsForbiddenInFileName(wchar_t c) {
  return c < 0x20 || c == 0x7F || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

std::wstring Lower(std::wstring text) {
  if (!text.empty()) ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

}  // namespace

std::string WriteVCard(const CContactData& contact) {
  CardWriter writer;
  writer.Line("BEGIN:VCARD");
  writer.Line("VERSION:3.0");
  WriteNames(writer, contact);
  WriteEntries(writer, contact);
  for (const auto& note : contact.m_notes) writer.Line("NOTE:" + Escape(note));
  std::string categories;
  for (const auto& group : contact.m_groupNames) {
    if (group.empty()) continue;
    if (!categories.empty()) categories += ',';
    categories += Escape(group);
  }
  if (!categories.empty()) writer.Line("CATEGORIES:" + categories);
  if (contact.m_starred != 0) writer.Line("X-TAMIX-FAVORITE:1");
  writer.Line("END:VCARD");
  return writer.Take();
}

VCardReadResult ReadVCards(std::string_view bytes, std::vector<CContactData>& out, const Tick& tick) {
  VCardReadResult result;
  std::string converted;
  bool unicode = false;
  std::string_view text = Unwrap(bytes, converted, unicode);
  Lines lines(text);
  size_t number = 0;
  while (!lines.AtEnd()) {
    if (!IsBegin(lines.Take())) continue;  // text between cards is not ours to judge
    RawCard card;
    card.number = ++number;
    size_t begin = lines.Number();
    CardEnd end = CollectCard(lines, card);
    // A card without an END (a BEGIN comes first, or the text ends) is counted
    // broken: it may miss any of its lines. A card with nothing we know (no
    // name, number or address) is still a card: the file said so.
    if (end == CardEnd::kNextBegin) Fail(card, begin, L"no END:VCARD before the next card");
    if (end == CardEnd::kEndOfText) Fail(card, begin, L"the file ends inside the card");
    if (card.problem.empty()) {
      out.push_back(Interpret(card, unicode));
      ++result.cards;
    } else {
      ++result.broken;
      result.problems.push_back(Describe(card, unicode));
    }
    if (tick && !tick()) {
      result.cancelled = true;
      break;
    }
  }
  if (number == 0 && !Trim(text).empty()) result.problems.push_back(L"no vCard in the file (no BEGIN:VCARD line)");
  return result;
}

std::wstring VCardFileName(const CContactData& contact, std::set<std::wstring>& taken) {
  std::wstring name = contact.m_name[Contact::kDisplayName];
  if (TrimW(name).empty()) name = contact.m_name[Contact::kFullName];
  if (TrimW(name).empty()) name = contact.GetFirstPhone();
  for (wchar_t& c : name)
    if (IsForbiddenInFileName(c)) c = L'_';
  auto trim = [](std::wstring& text) {
    while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
    while (!text.empty() && text.front() == L' ') text.erase(0, 1);
  };
  trim(name);
  if (name.size() > 64) {
    size_t cut = 64;
    if (name[cut - 1] >= 0xD800 && name[cut - 1] <= 0xDBFF) --cut;  // not half a surrogate pair
    name.resize(cut);
    trim(name);
  }
  if (name.empty()) name = L"contact";
  // Device names cannot be files, whatever their extension.
  static const wchar_t* const kDevices[] = {L"con", L"prn", L"aux", L"nul", L"com1", L"com2", L"com3", L"com4",
                                            L"com5", L"com6", L"com7", L"com8", L"com9", L"lpt1", L"lpt2", L"lpt3",
                                            L"lpt4", L"lpt5", L"lpt6", L"lpt7", L"lpt8", L"lpt9"};
  for (const wchar_t* device : kDevices)
    if (Lower(name) == device) name += L'_';
  std::wstring file = name + L".vcf";
  for (int copy = 2; taken.count(Lower(file)) != 0; ++copy) file = name + L" (" + std::to_wstring(copy) + L").vcf";
  taken.insert(Lower(file));
  return file;
}

}  // namespace files
