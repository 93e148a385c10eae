// The new-contact and edit-contact window: name parts, numbers, e-mail
// addresses and instant-messaging accounts with their labels, a postal
// address, organisation, nickname, web site, notes and the contact's groups
// (read-only). A skinned modal dialog of this library with rounded corners,
// moved by dragging anywhere on it. What the window shows and saves is a
// ContactForm; the checks and the writing back are ContactForm's, the window
// only shows their verdicts and keeps the user's input when it refuses.
//
// Numbers, e-mail addresses and accounts are rows of a label box (the label
// table's texts, or a label of the user's own typed in) and a value field.
// Each list shows at least three rows (accounts two), more when the contact
// has more, and Add shows one more up to the list's room; a row left empty
// is dropped on saving.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ContactForm.h"
#include "JorvHelperIds.h"
#include "contact/ContactData.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/SkinWindow.h"
#include "framework/DialogImpl.h"
#include "framework/Gdi.h"

namespace jorv {

class CContactEditor : public wf::CDialogImpl<CContactEditor>, public CQsSkinWindowUI<CContactEditor, 1> {
 public:
  enum { IDD = IDD_JORV_CONTACTEDITOR };
  using SkinBase = CQsSkinWindowUI<CContactEditor, 1>;
  enum class Mode { kNew, kEdit };

  // The contact is read when the window opens and written only when the
  // user saves.
  CContactEditor(Contact::CContactData& contact, Mode mode);

  // Runs the dialog modal over `owner` (may be null): 1 when saved, 0 when
  // cancelled (Cancel, Escape, the close box) or when it could not be shown.
  int Run(HWND owner);

  BEGIN_MSG_MAP(CContactEditor)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_CTLCOLOREDIT, OnCtlColorEdit)
    COMMAND_ID_HANDLER(IDOK, OnSave)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_JORV_EDITOR_CLOSE, OnCancel)
    COMMAND_RANGE_HANDLER(IDC_JORV_EDITOR_ADD_PHONE, IDC_JORV_EDITOR_ADD_IM, OnAddRow)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  // A list of labelled rows: its controls and how many rows show.
  struct RowList {
    LabelKind kind;
    int captionId;
    int addId;
    int firstLabelId;  // row i: firstLabelId + i
    int firstValueId;  // row i: firstValueId + i
    int room;          // rows the window has for the list
    int valueLimit;
    std::vector<LabelledRow> ContactForm::*rows;
    int shown = 0;
  };

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColorEdit(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSave(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  LRESULT OnAddRow(WORD, WORD id, HWND, BOOL&);

  void SetUpTexts();
  void SetUpFonts();
  void MakeRows(RowList& list, HWND after);
  void FillFields();
  void FillRow(const RowList& list, int row, const LabelledRow& value);
  // Places every control; the lists show their first `shown` rows.
  void Layout();
  void PlaceAtCentre(HWND owner);
  void ApplyOutline();
  // What the controls hold now, on top of the form the window opened with.
  ContactForm ReadForm() const;
  // A field's text, cut at the field's limit.
  std::wstring ReadText(int id) const;
  void Tell(const std::wstring& text);

  Contact::CContactData& m_contact;
  Mode m_mode;
  ContactForm m_form;  // as loaded; rows cut to the room of their lists
  std::vector<RowList> m_lists;
  std::vector<std::unique_ptr<CQsStatic>> m_statics;
  std::vector<std::unique_ptr<CQsButton>> m_buttons;
  wf::ScopedFont m_fieldFont;
  wf::ScopedBrush m_fieldBrush;
  COLORREF m_fieldText = RGB(0x1F, 0x3A, 0x5F);
};

}  // namespace jorv
