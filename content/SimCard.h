// The SIM card record that the message helper reports once per card.
// Binary contract between the plug-in, the data-provider library and the
// shared-dialog library: keep the field order.
#pragma once
#include <cstdint>
#include <list>
#include <string>

struct CSimInfo {
  // 1 = card one, 2 = card two.
  int32_t m_cardId = 0;
  // The card's identity as the handset knows it; the messages module copies
  // it into every message it sends so the handset sends through this card.
  std::wstring m_cardText;
  // Read only by the shared-dialog library (getDisplayCardType): the radio
  // technology the card is registered on ("GSM", "CDMA", "WCDMA", ...), the
  // operator's name and the card's IMSI.
  std::wstring m_network;
  std::wstring m_operator;
  std::wstring m_imsi;
};

using SimCardList = std::list<CSimInfo>;
