// Reaching an object's virtual operations by slot number, the way a module
// built apart from ours does: it knows only the position of an operation in
// the table of virtual functions, not its name.
#pragma once
#include <cstdint>
#include <cstring>

namespace testing_support {

// Calls slot `slot` of the table that `object` points to (the table pointer
// is the object's first field), passing `object` as `this`.
template <class R, class... Args, class Object>
R CallSlot(Object* object, int slot, Args... args) {
  using Fn = R (*)(Object*, Args...);
  void** table = *reinterpret_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}

// The slot that g++ gave a virtual member function. Under the Itanium C++ ABI
// a pointer to a virtual member function holds 1 + the byte offset of its
// slot (an odd number; a non-virtual one holds the even function address).
// Answers -1 for a non-virtual function. Lets a test see where an operation
// sits before it calls the slot, so that a misplaced destructor is reported
// instead of being run on a live object.
template <class Pmf>
int SlotOf(Pmf pmf) {
  static_assert(sizeof(Pmf) == 2 * sizeof(void*), "a pointer to member function of the Itanium ABI");
  uintptr_t raw = 0;
  std::memcpy(&raw, &pmf, sizeof raw);
  if ((raw & 1) == 0) return -1;
  return static_cast<int>((raw - 1) / sizeof(void*));
}

}  // namespace testing_support
