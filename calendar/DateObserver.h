// What a calendar part hears of the calendar's shared dates (CCalendarSupport
// keeps them): the selected day changed, or someone asked to bring the
// selected day up in the day view. Both do nothing by default, so a part
// overrides only what it follows.
//
// The operations are reached by slot by parts built apart from ours: keep
// their order (selected day changed, then show the selected day).
#pragma once

class CDateOberver {
 public:
  // The selected day of CCalendarSupport is another day now.
  virtual void OnDateChanged() {}
  // Bring the selected day up in the day view (the mini month calendar and
  // the main window ask for it).
  virtual void OnShowDay() {}

 protected:
  CDateOberver() = default;
  CDateOberver(const CDateOberver&) = default;
  CDateOberver& operator=(const CDateOberver&) = default;
  // Observers are never deleted through this interface.
  ~CDateOberver() = default;
};
