#include "ContactEditor.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Module.h"
#include "framework/Text.h"

namespace jorv {
namespace {

// The window: two columns under a title band, the buttons at the bottom.
// The left column holds the single fields, the right one the three lists,
// which have room for all their rows within the left column's height.
constexpr int kWidth = 720;
constexpr int kMargin = 18;
constexpr int kColumnWidth = 330;
constexpr int kColumnGap = 24;
constexpr int kRightColumn = kMargin + kColumnWidth + kColumnGap;
constexpr int kTop = 46;           // below the title band
constexpr int kCaption = 24;       // a caption's line
constexpr int kPitch = 26;         // a field's line
constexpr int kField = 22;         // an edit's or a label box's height
constexpr int kTextLift = 3;       // a label's text sits level with the field's
constexpr int kLabelWidth = 88;
constexpr int kNotesHeight = 56;
constexpr int kContentHeight = 4 * kCaption + 16 * kPitch + kNotesHeight;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 8;
constexpr int kHeight = kTop + kContentHeight + 14 + kButtonHeight + 16;
constexpr int kAddWidth = 64;
constexpr int kRowLabelWidth = 112;
constexpr int kDropHeight = 200;   // a label box's open list
constexpr int kCloseSize = 16;     // the close box's images
constexpr int kCornerRadius = 12;  // matches the frame's corners
static_assert(3 * kCaption + (JORV_EDITOR_PHONE_ROWS + JORV_EDITOR_EMAIL_ROWS + JORV_EDITOR_IM_ROWS) * kPitch <=
                  kContentHeight,
              "every row of the lists fits beside the single fields");

// The lists show this many rows even when the contact has fewer entries.
constexpr int kLeastPhoneRows = 3;
constexpr int kLeastEmailRows = 3;
constexpr int kLeastImRows = 2;

const wchar_t* const kFrame[skin::kFramePieces] = {
    L"comm_frame_topleft.png",    L"comm_frame_top.png",    L"comm_frame_topright.png",
    L"comm_frame_left.png",       L"comm_frame_center.png", L"comm_frame_right.png",
    L"comm_frame_bottomleft.png", L"comm_frame_bottom.png", L"comm_frame_bottomright.png"};

// A single field: its control, the text in front of it (control + 40), its
// caption's key and where the form keeps it.
struct FieldSpec {
  int id;
  const wchar_t* textKey;
  std::wstring ContactForm::*value;
  int limit;
};

constexpr int kTextOffset = IDC_JORV_EDITOR_FAMILY_TEXT - IDC_JORV_EDITOR_FAMILY;

const FieldSpec kFields[] = {
    {IDC_JORV_EDITOR_FAMILY, L"jorvhelper.newcontact.familyname", &ContactForm::familyName, limits::kName},
    {IDC_JORV_EDITOR_GIVEN, L"jorvhelper.newcontact.givenname", &ContactForm::givenName, limits::kName},
    {IDC_JORV_EDITOR_MIDDLE, L"jorvhelper.newcontact.middlename", &ContactForm::middleName, limits::kName},
    {IDC_JORV_EDITOR_PREFIX, L"jorvhelper.newcontact.prefix", &ContactForm::namePrefix, limits::kName},
    {IDC_JORV_EDITOR_SUFFIX, L"jorvhelper.newcontact.suffix", &ContactForm::nameSuffix, limits::kName},
    {IDC_JORV_EDITOR_NICKNAME, L"jorvhelper.newcontact.nickname", &ContactForm::nickname, limits::kText},
    {IDC_JORV_EDITOR_COMPANY, L"jorvhelper.newcontact.company", &ContactForm::company, limits::kText},
    {IDC_JORV_EDITOR_JOBTITLE, L"jorvhelper.newcontact.jobtitle", &ContactForm::jobTitle, limits::kText},
    {IDC_JORV_EDITOR_WEBSITE, L"jorvhelper.newcontact.website", &ContactForm::website, limits::kWebsite},
    {IDC_JORV_EDITOR_STREET, L"jorvhelper.newcontact.street", &ContactForm::street, limits::kStreet},
    {IDC_JORV_EDITOR_CITY, L"jorvhelper.newcontact.city", &ContactForm::city, limits::kText},
    {IDC_JORV_EDITOR_REGION, L"jorvhelper.newcontact.region", &ContactForm::region, limits::kText},
    {IDC_JORV_EDITOR_POSTCODE, L"jorvhelper.newcontact.postcode", &ContactForm::postcode, limits::kPostcode},
    {IDC_JORV_EDITOR_COUNTRY, L"jorvhelper.newcontact.country", &ContactForm::country, limits::kText},
};

// The left column from the top: a caption (field 0) or a field with its height.
struct LeftLine {
  int caption;
  int field;
  int height;
};
const LeftLine kLeftColumn[] = {
    {IDC_JORV_EDITOR_NAME_CAPTION, 0, 0},    {0, IDC_JORV_EDITOR_FAMILY, kField},
    {0, IDC_JORV_EDITOR_GIVEN, kField},      {0, IDC_JORV_EDITOR_MIDDLE, kField},
    {0, IDC_JORV_EDITOR_PREFIX, kField},     {0, IDC_JORV_EDITOR_SUFFIX, kField},
    {0, IDC_JORV_EDITOR_NICKNAME, kField},   {IDC_JORV_EDITOR_WORK_CAPTION, 0, 0},
    {0, IDC_JORV_EDITOR_COMPANY, kField},    {0, IDC_JORV_EDITOR_JOBTITLE, kField},
    {0, IDC_JORV_EDITOR_WEBSITE, kField},    {IDC_JORV_EDITOR_ADDRESS_CAPTION, 0, 0},
    {0, IDC_JORV_EDITOR_POSTAL_LABEL, kField}, {0, IDC_JORV_EDITOR_STREET, kField},
    {0, IDC_JORV_EDITOR_CITY, kField},       {0, IDC_JORV_EDITOR_REGION, kField},
    {0, IDC_JORV_EDITOR_POSTCODE, kField},   {0, IDC_JORV_EDITOR_COUNTRY, kField},
    {IDC_JORV_EDITOR_MORE_CAPTION, 0, 0},    {0, IDC_JORV_EDITOR_GROUPS, kField},
    {0, IDC_JORV_EDITOR_NOTES, kNotesHeight},
};

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

COLORREF Colour(const wchar_t* key, COLORREF fallback) {
  BYTE a = 0, r = 0, g = 0, b = 0;
  return GetColorARGB(key, a, r, g, b) ? RGB(r, g, b) : fallback;
}

HFONT FontOf(const wchar_t* key) {
  std::wstring face = L"Tahoma";
  double points = 9;
  int32_t style = 0;
  if (!GetFontEx(key, face, points, style) || face.empty() || points <= 0) {
    face = L"Tahoma";
    points = 9;
    style = 0;
  }
  return MakeFont(face, points, style);
}

bool IsComboBox(HWND window) {
  wchar_t name[32] = {};
  ::GetClassNameW(window, name, 32);
  return _wcsicmp(name, L"ComboBox") == 0;
}

// The edit that takes the typing: the field itself, or a label box's own edit.
HWND TypingEdit(HWND control) {
  if (!IsComboBox(control)) return control;
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  return ::GetComboBoxInfo(control, &info) ? info.hwndItem : nullptr;
}

// Typing stops at `limit`; a longer text from the record is shown and kept whole.
void SetField(HWND field, const std::wstring& text, int limit) {
  WPARAM room = std::max<size_t>(static_cast<size_t>(limit), text.size());
  ::SendMessageW(field, EM_LIMITTEXT, room, 0);
  ::SetWindowTextW(field, text.c_str());
}

void FillLabelBox(HWND box, LabelKind kind) {
  for (const std::wstring& text : LabelTexts(kind))
    ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  ::SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kField - 6);
}

// Shows a label: its table entry selected when it is one (same case), else
// the user's own text in the box's edit.
void SetLabelBox(HWND box, LabelKind kind, const std::wstring& text) {
  ::SendMessageW(box, CB_LIMITTEXT, std::max<size_t>(limits::kLabel, text.size()), 0);
  std::vector<std::wstring> texts = LabelTexts(kind);
  auto found = std::find(texts.begin(), texts.end(), text);
  if (found != texts.end() && !text.empty()) {
    ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(found - texts.begin()), 0);
    return;
  }
  ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SetWindowTextW(box, text.c_str());
}

}  // namespace

CContactEditor::CContactEditor(Contact::CContactData& contact, Mode mode)
    : m_contact(contact), m_mode(mode), m_form(FormFromContact(contact)) {
  m_lists = {
      {LabelKind::kPhone, IDC_JORV_EDITOR_PHONE_CAPTION, IDC_JORV_EDITOR_ADD_PHONE, IDC_JORV_EDITOR_PHONE_LABEL,
       IDC_JORV_EDITOR_PHONE_VALUE, JORV_EDITOR_PHONE_ROWS, limits::kNumber, &ContactForm::phones},
      {LabelKind::kEmail, IDC_JORV_EDITOR_EMAIL_CAPTION, IDC_JORV_EDITOR_ADD_EMAIL, IDC_JORV_EDITOR_EMAIL_LABEL,
       IDC_JORV_EDITOR_EMAIL_VALUE, JORV_EDITOR_EMAIL_ROWS, limits::kEmail, &ContactForm::emails},
      {LabelKind::kInstantMessage, IDC_JORV_EDITOR_IM_CAPTION, IDC_JORV_EDITOR_ADD_IM, IDC_JORV_EDITOR_IM_LABEL,
       IDC_JORV_EDITOR_IM_VALUE, JORV_EDITOR_IM_ROWS, limits::kAccount, &ContactForm::ims},
  };
  const int least[] = {kLeastPhoneRows, kLeastEmailRows, kLeastImRows};
  for (size_t i = 0; i < m_lists.size(); ++i) {
    RowList& list = m_lists[i];
    std::vector<LabelledRow>& rows = m_form.*list.rows;
    // Entries beyond the list's room get no row: saving leaves them as they are.
    if (static_cast<int>(rows.size()) > list.room) rows.resize(static_cast<size_t>(list.room));
    list.shown = std::clamp(static_cast<int>(rows.size()), least[i], list.room);
  }
}

int CContactEditor::Run(HWND owner) {
  INT_PTR result = DoModal(owner, 0, wf::GetCodeInstance());
  return result == 1 ? 1 : 0;  // -1: the dialog could not be made
}

LRESULT CContactEditor::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetFrameImages(kFrame);
  for (RowList& list : m_lists) MakeRows(list, GetDlgItem(list.addId));
  SetUpFonts();
  InitSkin();  // the edits and label boxes
  SetUpTexts();
  FillFields();
  Layout();
  PlaceAtCentre(::GetWindow(m_hWnd, GW_OWNER));
  // Dragged by its body, never moved from a menu.
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  ApplyOutline();
  HWND first = GetDlgItem(IDC_JORV_EDITOR_FAMILY);
  ::SetFocus(first);
  ::SendMessageW(first, EM_SETSEL, 0, -1);
  return FALSE;  // the focus is set
}

void CContactEditor::MakeRows(RowList& list, HWND after) {
  // Each row follows the list's Add button in the tab order.
  const DWORD labelStyle = WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
  const DWORD valueStyle = WS_CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
  auto menuId = [](int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); };
  for (int i = 0; i < list.room; ++i) {
    HWND label = ::CreateWindowExW(0, L"ComboBox", L"", labelStyle, 0, 0, kRowLabelWidth, kDropHeight, m_hWnd,
                                   menuId(list.firstLabelId + i), wf::GetCodeInstance(), nullptr);
    HWND value = ::CreateWindowExW(0, L"Edit", L"", valueStyle, 0, 0, 10, kField, m_hWnd,
                                   menuId(list.firstValueId + i), wf::GetCodeInstance(), nullptr);
    if (!label || !value) continue;
    FillLabelBox(label, list.kind);
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ::SetWindowPos(label, after, 0, 0, 0, 0, keep);
    ::SetWindowPos(value, label, 0, 0, 0, 0, keep);
    after = value;
  }
}

void CContactEditor::SetUpFonts() {
  // Fields and their texts take the dialogs' font and colour of the resource
  // library, captions its header font in the second colour of the lists.
  m_fieldFont.Reset(FontOf(L"tamix_font_gditwo"));
  m_fieldText = Colour(L"tamix_color_one", m_fieldText);
  m_fieldBrush.Reset(::CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF)));
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    ::GetClassNameW(child, name, 32);
    if (_wcsicmp(name, L"Edit") == 0 || _wcsicmp(name, L"ComboBox") == 0)
      ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_fieldFont.Get()), FALSE);
  }

  auto bindStatic = [this](int id, const wchar_t* fontKey, const wchar_t* colourKey) {
    auto text = std::make_unique<CQsStatic>();
    if (!text->SubclassWindow(GetDlgItem(id))) return;
    text->SetStateFontFromKey(qs::kFallbackState, fontKey);
    text->SetStateColorFromKey(qs::kFallbackState, colourKey);
    m_statics.push_back(std::move(text));
  };
  bindStatic(IDC_JORV_EDITOR_TITLE, L"tamix_font_gdithree", L"tamix_color_one");  // the header font, bold
  bindStatic(IDC_JORV_EDITOR_SHOWNNAME, L"tamix_font_gdione", L"tamix_color_eight");
  for (int caption : {IDC_JORV_EDITOR_NAME_CAPTION, IDC_JORV_EDITOR_WORK_CAPTION, IDC_JORV_EDITOR_ADDRESS_CAPTION,
                      IDC_JORV_EDITOR_MORE_CAPTION, IDC_JORV_EDITOR_PHONE_CAPTION, IDC_JORV_EDITOR_EMAIL_CAPTION,
                      IDC_JORV_EDITOR_IM_CAPTION})
    bindStatic(caption, L"tamix_font_gdithree", L"tamix_color_eight");
  for (int field = IDC_JORV_EDITOR_FAMILY; field <= IDC_JORV_EDITOR_NOTES; ++field)
    bindStatic(field + kTextOffset, L"tamix_font_gditwo", L"tamix_color_one");

  for (int id : {IDOK, IDCANCEL, IDC_JORV_EDITOR_ADD_PHONE, IDC_JORV_EDITOR_ADD_EMAIL, IDC_JORV_EDITOR_ADD_IM}) {
    auto button = std::make_unique<CQsButton>();
    if (!button->SubclassWindow(GetDlgItem(id))) continue;
    for (int state :
         {qs::kButtonNormal, qs::kButtonHover, qs::kButtonPressed, qs::kButtonFocused, qs::kButtonDisabled}) {
      button->SetStateFontFromKey(state, L"tamix_font_gdione");
      button->SetStateColorFromKey(state, L"tamix_color_one");
    }
    m_buttons.push_back(std::move(button));
  }
  auto close = std::make_unique<CQsButton>();
  if (close->SubclassWindow(GetDlgItem(IDC_JORV_EDITOR_CLOSE))) {
    close->UseCloseBox();
    m_buttons.push_back(std::move(close));
  }
}

void CContactEditor::SetUpTexts() {
  // The plug-in closes the module's dialogs by these titles when the phone goes.
  std::wstring title = Text(m_mode == Mode::kEdit ? L"jorvhelper.newcontact.edit" : L"jorvhelper.newcontact.new");
  SetWindowText(title);
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_EDITOR_TITLE, title.c_str());
  const std::wstring& shown = m_contact.m_name[Contact::kDisplayName];
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_EDITOR_SHOWNNAME,
                    (shown.empty() ? m_contact.m_name[Contact::kFullName] : shown).c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_EDITOR_CLOSE, Text(L"common.button.cancel").c_str());

  const std::pair<int, const wchar_t*> captions[] = {
      {IDC_JORV_EDITOR_NAME_CAPTION, L"jorvhelper.newcontact.name"},
      {IDC_JORV_EDITOR_WORK_CAPTION, L"jorvhelper.newcontact.work"},
      {IDC_JORV_EDITOR_ADDRESS_CAPTION, L"jorvhelper.newcontact.address"},
      {IDC_JORV_EDITOR_MORE_CAPTION, L"jorvhelper.newcontact.more"},
      {IDC_JORV_EDITOR_PHONE_CAPTION, L"jorvhelper.newcontact.phone"},
      {IDC_JORV_EDITOR_EMAIL_CAPTION, L"jorvhelper.newcontact.email"},
      {IDC_JORV_EDITOR_IM_CAPTION, L"jorvhelper.newcontact.im"},
      {IDC_JORV_EDITOR_POSTAL_LABEL_TEXT, L"jorvhelper.newcontact.label"},
      {IDC_JORV_EDITOR_GROUPS_TEXT, L"jorvhelper.newcontact.groups"},
      {IDC_JORV_EDITOR_NOTES_TEXT, L"jorvhelper.newcontact.notes"},
      {IDC_JORV_EDITOR_ADD_PHONE, L"jorvhelper.newcontact.add"},
      {IDC_JORV_EDITOR_ADD_EMAIL, L"jorvhelper.newcontact.add"},
      {IDC_JORV_EDITOR_ADD_IM, L"jorvhelper.newcontact.add"},
      {IDOK, L"common.save"},
      {IDCANCEL, L"common.button.cancel"},
  };
  for (const auto& [id, key] : captions) ::SetDlgItemTextW(m_hWnd, id, Text(key).c_str());
  for (const FieldSpec& field : kFields) ::SetDlgItemTextW(m_hWnd, field.id + kTextOffset, Text(field.textKey).c_str());
}

void CContactEditor::FillFields() {
  for (const FieldSpec& field : kFields) SetField(GetDlgItem(field.id), m_form.*field.value, field.limit);
  HWND postalLabel = GetDlgItem(IDC_JORV_EDITOR_POSTAL_LABEL);
  FillLabelBox(postalLabel, LabelKind::kPostal);
  SetLabelBox(postalLabel, LabelKind::kPostal, m_form.postalLabel);
  SetField(GetDlgItem(IDC_JORV_EDITOR_NOTES), NotesForEdit(m_form.notes), limits::kNotes);
  std::wstring groups;
  for (const std::wstring& group : m_form.groups) {
    if (group.empty()) continue;
    if (!groups.empty()) groups += L", ";
    groups += group;
  }
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_EDITOR_GROUPS, groups.c_str());

  for (const RowList& list : m_lists) {
    const std::vector<LabelledRow>& rows = m_form.*list.rows;
    for (int i = 0; i < list.shown; ++i) {
      auto row = static_cast<size_t>(i);
      FillRow(list, i, row < rows.size() ? rows[row] : LabelledRow{DefaultLabelText(list.kind), L""});
    }
    ::EnableWindow(GetDlgItem(list.addId), list.shown < list.room);
  }
}

void CContactEditor::FillRow(const RowList& list, int row, const LabelledRow& value) {
  SetLabelBox(GetDlgItem(list.firstLabelId + row), list.kind, value.label);
  SetField(GetDlgItem(list.firstValueId + row), value.value, list.valueLimit);
}

void CContactEditor::Layout() {
  auto place = [this](int id, int x, int y, int width, int height) {
    if (HWND control = GetDlgItem(id)) ::MoveWindow(control, x, y, width, height, TRUE);
  };
  auto placeField = [&](int id, int x, int y, int width, int height) {
    // A label box is as wide as the lists' ones; its height is that of its open list.
    if (IsComboBox(GetDlgItem(id))) place(id, x, y, kRowLabelWidth, kDropHeight);
    else place(id, x, y, width, height);
  };

  place(IDC_JORV_EDITOR_TITLE, kMargin, 13, 240, 20);
  place(IDC_JORV_EDITOR_SHOWNNAME, kMargin + 250, 15, kWidth - 2 * kMargin - 250 - kCloseSize - 12, 18);
  place(IDC_JORV_EDITOR_CLOSE, kWidth - kMargin - kCloseSize + 4, 14, kCloseSize, kCloseSize);

  const int fieldX = kMargin + kLabelWidth + 4;
  const int fieldWidth = kColumnWidth - kLabelWidth - 4;
  int y = kTop;
  for (const LeftLine& line : kLeftColumn) {
    if (line.caption) {
      place(line.caption, kMargin, y + 4, kColumnWidth, 18);
      y += kCaption;
      continue;
    }
    place(line.field + kTextOffset, kMargin, y + kTextLift, kLabelWidth, 18);
    placeField(line.field, fieldX, y, fieldWidth, line.height);
    y += line.height == kField ? kPitch : line.height;
  }

  y = kTop;
  const int valueX = kRightColumn + kRowLabelWidth + 6;
  const int valueWidth = kColumnWidth - kRowLabelWidth - 6;
  for (const RowList& list : m_lists) {
    place(list.captionId, kRightColumn, y + 4, kColumnWidth - kAddWidth - 8, 18);
    place(list.addId, kRightColumn + kColumnWidth - kAddWidth, y + 1, kAddWidth, kField);
    y += kCaption;
    for (int i = 0; i < list.room; ++i) {
      HWND label = GetDlgItem(list.firstLabelId + i);
      HWND value = GetDlgItem(list.firstValueId + i);
      const bool shown = i < list.shown;
      if (shown) {
        ::MoveWindow(label, kRightColumn, y, kRowLabelWidth, kDropHeight, TRUE);
        ::MoveWindow(value, valueX, y, valueWidth, kField, TRUE);
        y += kPitch;
      }
      ::ShowWindow(label, shown ? SW_SHOWNA : SW_HIDE);
      ::ShowWindow(value, shown ? SW_SHOWNA : SW_HIDE);
    }
  }

  const int buttonY = kTop + kContentHeight + 14;
  place(IDCANCEL, kWidth - kMargin - kButtonWidth, buttonY, kButtonWidth, kButtonHeight);
  place(IDOK, kWidth - kMargin - 2 * kButtonWidth - kButtonGap, buttonY, kButtonWidth, kButtonHeight);
}

void CContactEditor::PlaceAtCentre(HWND owner) {
  // Centred over the owner (the screen's work area without one), and kept
  // within the work area.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT over = work;
  if (owner && ::IsWindowVisible(owner)) ::GetWindowRect(owner, &over);
  int x = over.left + (over.right - over.left - kWidth) / 2;
  int y = over.top + (over.bottom - over.top - kHeight) / 2;
  x = std::max<int>(work.left, std::min<int>(x, work.right - kWidth));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - kHeight));
  SetWindowPos(nullptr, x, y, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CContactEditor::ApplyOutline() {
  RECT window{};
  ::GetWindowRect(m_hWnd, &window);
  HRGN outline = ::CreateRoundRectRgn(0, 0, window.right - window.left + 1, window.bottom - window.top + 1,
                                      kCornerRadius, kCornerRadius);
  if (outline && !::SetWindowRgn(m_hWnd, outline, TRUE)) ::DeleteObject(outline);  // the window owns it once set
}

LRESULT CContactEditor::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  ApplyOutline();
  bHandled = FALSE;
  return 0;
}

LRESULT CContactEditor::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

LRESULT CContactEditor::OnCtlColorEdit(UINT, WPARAM wParam, LPARAM, BOOL&) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetTextColor(dc, m_fieldText);
  ::SetBkColor(dc, RGB(0xFF, 0xFF, 0xFF));
  return reinterpret_cast<LRESULT>(m_fieldBrush.Get());
}

std::wstring CContactEditor::ReadText(int id) const {
  HWND control = GetDlgItem(id);
  std::wstring text = wf::CWindow(control).GetWindowText();
  // Text put in by other means than typing is cut where typing stops.
  if (HWND edit = TypingEdit(control)) {
    auto limit = static_cast<size_t>(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    if (limit > 0 && text.size() > limit) text.resize(limit);
  }
  return text;
}

ContactForm CContactEditor::ReadForm() const {
  ContactForm form = m_form;
  for (const FieldSpec& field : kFields) form.*field.value = ReadText(field.id);
  form.postalLabel = ReadText(IDC_JORV_EDITOR_POSTAL_LABEL);
  form.notes = NotesFromEdit(ReadText(IDC_JORV_EDITOR_NOTES), m_form.notes);
  for (const RowList& list : m_lists) {
    std::vector<LabelledRow>& rows = form.*list.rows;
    rows.resize(static_cast<size_t>(list.shown));
    for (int i = 0; i < list.shown; ++i)
      rows[static_cast<size_t>(i)] = {ReadText(list.firstLabelId + i), ReadText(list.firstValueId + i)};
  }
  return form;
}

void CContactEditor::Tell(const std::wstring& text) {
  JorvMessageBox(m_hWnd, text.c_str(), Text(L"common.messagebox.tamixtip").c_str(), JORV_MB_NOTICE, 0, 0);
}

LRESULT CContactEditor::OnSave(WORD, WORD, HWND, BOOL&) {
  ContactForm form = ReadForm();
  FormCheck check = CheckContactForm(form);
  switch (check.verdict) {
    case FormVerdict::kAccepted:
      break;
    case FormVerdict::kEmpty:
      Tell(Text(L"jorvhelper.newcontact.empty"));
      ::SetFocus(GetDlgItem(IDC_JORV_EDITOR_FAMILY));
      return 0;
    case FormVerdict::kBadNumber: {
      Tell(wf::FormatText(Text(L"jorvhelper.newcontact.badnumber").c_str(), check.number.c_str()));
      HWND number = GetDlgItem(IDC_JORV_EDITOR_PHONE_VALUE + static_cast<int>(check.row));
      ::SetFocus(number);
      ::SendMessageW(number, EM_SETSEL, 0, -1);
      return 0;
    }
  }
  ApplyContactForm(form, m_contact);
  EndDialog(1);
  return 0;
}

LRESULT CContactEditor::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(0);
  return 0;
}

LRESULT CContactEditor::OnAddRow(WORD, WORD id, HWND, BOOL&) {
  for (RowList& list : m_lists) {
    if (list.addId != id || list.shown >= list.room) continue;
    FillRow(list, list.shown, LabelledRow{DefaultLabelText(list.kind), L""});
    ++list.shown;
    Layout();
    ::SetFocus(GetDlgItem(list.firstValueId + list.shown - 1));
    // Full: Add goes grey (the focus has left it for the new row).
    ::EnableWindow(GetDlgItem(list.addId), list.shown < list.room);
  }
  return 0;
}

}  // namespace jorv
