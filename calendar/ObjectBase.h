// Root of the calendar's value classes (dates, the views' event holders): a
// virtual destructor and nothing else, so that objects can be kept and
// deleted through one base.
#pragma once

class CObjectBase {
 public:
  CObjectBase() = default;
  CObjectBase(const CObjectBase&) = default;
  CObjectBase& operator=(const CObjectBase&) = default;
  virtual ~CObjectBase() = default;
};
