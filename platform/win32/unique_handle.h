// One owning type per close function. Move-only, so a handle can never be closed twice; the
// traits say which value means "no handle" (NULL for most, INVALID_HANDLE_VALUE for files and
// find handles) and how to close it.
#pragma once

#include <utility>

namespace morvane::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using Value = typename Traits::Value;

  UniqueHandle() = default;
  explicit UniqueHandle(Value value) : value_(value) {}
  ~UniqueHandle() { Close(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Detach()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  bool Valid() const { return value_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }
  Value Get() const { return value_; }

  // Takes ownership of `value`, closing the handle held so far.
  void Attach(Value value) {
    Close();
    value_ = value;
  }
  // Gives up ownership without closing.
  Value Detach() { return std::exchange(value_, Traits::Invalid()); }
  // Closes now; true when there was nothing to close or the close function succeeded.
  bool Close() {
    if (!Valid()) return true;
    return Traits::Close(Detach());
  }

 private:
  Value value_ = Traits::Invalid();
};

}  // namespace morvane::win32
