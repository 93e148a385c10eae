// The rows of the message list: day header rows and message rows, as the
// messages controller keeps them, and their cells as the super grid asks for
// them. Plain code: no window, no resource call (the look's texts, images and
// network names are handed in).
#pragma once
#include <array>
#include <map>
#include <string>
#include <vector>

#include "content/Content.h"
#include "controls/GridModel.h"
#include "message/MessageData.h"

namespace Message {

// The columns of the message list, left to right.
enum MessageColumn { kColumnLock, kColumnRead, kColumnParty, kColumnBody, kColumnTime, kColumnNetwork, kColumnAction,
                     kMessageColumnCount };

// Column widths as fractions of a list `width` pixels wide: 0.05, 0.05, 0.15,
// 0.25, 0.2, 0.2 and 0.1 for the action column, which gets 60 pixels at least
// (taken from the body column while the list is narrow).
std::array<double, kMessageColumnCount> MessageColumnFractions(int width);

// What the cells are drawn with.
struct MessageRowLook {
  Gdiplus::Image* locked = nullptr;    // "sms_lockicon_lock.png"
  Gdiplus::Image* unlocked = nullptr;  // "sms_lockicon_unlock.png"
  Gdiplus::Image* read = nullptr;      // "sms_messageicon_readed.png"
  Gdiplus::Image* unread = nullptr;    // "sms_messageicon_noread.png"
  Gdiplus::Image* action = nullptr;    // "pim_list_detail.png"
  std::wstring deleteText;             // the action's tool text ("common.delete")
  // The network text of a message by its card id; `unknownNetwork` for a
  // card id not in the map.
  std::map<int32_t, std::wstring> networkByCard;
  std::wstring unknownNetwork;
};

class CMessageRows : public IQsGridModel {
 public:
  struct Row {
    bool checked = false;
    bool locked = false;
    bool read = false;
    bool header = false;   // a day header row
    std::wstring label;    // a header row's day ("YYYY-MM-DD", or empty while a refresh streams)
    CSMSData message;      // empty on a header row
  };

  void SetLook(const MessageRowLook& look) { m_look = look; }
  const MessageRowLook& Look() const { return m_look; }

  void Clear();
  // A refresh batch: its messages of folder `folderId`, in their order, under
  // one header with an empty label made at the first of them. Answers how
  // many were appended.
  int AppendStreamed(const ContentList& batch, int32_t folderId);
  // One folder's answer in its order, a header row wherever the day of a
  // message differs from the last header's (so one day can head two runs).
  void FillByDay(const ContentList& messages);

  int RowCount() const { return static_cast<int>(m_rows.size()); }
  const Row& At(int row) const { return m_rows[row]; }
  bool IsMessageRow(int row) const { return row >= 0 && row < RowCount() && !m_rows[row].header; }
  int MessageCount() const { return m_messages; }
  // The row of message `id`, or -1.
  int FindMessage(ContentId id) const;
  // A message row's record and flags replaced in place.
  void Replace(int row, const CSMSData& message);
  // Removes the message rows of `ids` and every header left without a
  // message under it. Answers how many messages went.
  int Remove(const IdList& ids);

  // Check boxes: in check mode the first column shows the deletion box
  // instead of the lock image.
  void SetCheckMode(bool on) { m_checkMode = on; }
  bool CheckMode() const { return m_checkMode; }
  void SetRowCheck(int row, bool on);
  void SetAllChecks(bool on);
  int CheckedCount() const;
  IdList CheckedIds() const;

  // IQsGridModel
  int GetRowCount() const override { return RowCount(); }
  bool IsSectionRow(int row) const override { return row >= 0 && row < RowCount() && m_rows[row].header; }
  void GetCell(int row, int column, CQsGridCell& cell) const override;

 private:
  void AppendHeader(const std::wstring& label);
  void AppendMessage(const CSMSData& message);

  std::vector<Row> m_rows;
  int m_messages = 0;
  bool m_streamHeader = false;  // the refresh's one header exists
  bool m_checkMode = false;
  MessageRowLook m_look;
};

}  // namespace Message
