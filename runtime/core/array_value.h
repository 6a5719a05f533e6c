// Vexel runtime: ArrayValue<T>, the dynamic array of up to four dimensions.
//
// Element (i, j, k, l) lives at i + j*stride1 + k*stride2 + l*stride3: the first
// index varies fastest. Elements are owned by value; copying an array deep-copies
// every element (records with strings and arrays inside included). Every access
// is bounds-checked: a bad index prints the bounds report on stdout and stderr
// and ends the program with error code 9. Nothing here throws.
//
// Capacity rules the game can rely on:
//  - Dimension: number arrays allocate exactly the count; string and record
//    arrays the next multiple of 64 above the count.
//  - Redimension, copy and push reallocate to the next multiple of 8 strictly
//    above the count, so runs of pushes do not reallocate every time.
//
// Sorting without a compare routine orders numbers numerically, strings
// byte-wise, and records by their first member: a record type that is sorted
// that way provides `int CompareFirstMember(const T&, const T&)` beside itself.
//
// Growing a one-dimensional array (push, redimension) moves the block with
// realloc instead of element by element when the element type may be moved as
// raw bytes (see IsRelocatable): with the 8-element spare-capacity rule, pushes
// would otherwise copy the whole array every eighth time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>
#include <type_traits>
#include <utility>

#include "runtime/core/error.h"
#include "runtime/core/string_value.h"

namespace vxl {

// Prints "bounds: [..][..]" and "access: [..][..]" to stdout, then stderr, and
// takes the fatal end with code 9. Shared by every element type.
[[noreturn]] void ArrayBoundsFailure(const int sizes[4], int i, int j);

template <class T>
class ArrayValue;

// True for element types whose objects may be moved to another address by
// copying their bytes, without running a constructor or destructor: no member
// points into the object itself. Numbers, StringValue and ArrayValue are; a
// record type made only of such members may say so too:
//   template <> struct vxl::IsRelocatable<TRow> : std::true_type {};
template <class T>
struct IsRelocatable : std::bool_constant<std::is_trivially_copyable_v<T>> {};
template <>
struct IsRelocatable<StringValue> : std::true_type {};
template <class U>
struct IsRelocatable<ArrayValue<U>> : std::true_type {};

template <class T>
class ArrayValue {
 public:
  ArrayValue() = default;
  ArrayValue(std::initializer_list<T> items) { FillFromList(items); }
  ArrayValue(const ArrayValue& other) { CopyFrom(other); }
  ArrayValue(ArrayValue&& other) noexcept { Steal(other); }
  ~ArrayValue() { Release(); }
  ArrayValue& operator=(const ArrayValue& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  ArrayValue& operator=(ArrayValue&& other) noexcept {
    if (this != &other) {
      Release();
      Steal(other);
    }
    return *this;
  }

  // ---- shape ----
  // Resets every element; see the capacity rules above. a <= 0 leaves an empty array.
  void Dimension(int a, int b = 0, int c = 0, int d = 0) {
    const int n = CountFor(a, b, c, d);
    if (capacity_ < n || a <= 0) {
      const int cap = std::is_arithmetic_v<T> ? n : (n / 64) * 64 + 64;
      Reallocate(cap, /*keep=*/0);
    }
    for (int x = 0; x < n; ++x) data_[x] = T{};
    SetShape(a, b, c, d);
  }

  // Keeps every element whose indexes lie inside both the old and the new
  // sizes. a <= 0 empties the array but keeps its storage.
  void Redimension(int a, int b = 0, int c = 0, int d = 0) {
    if (a <= 0) {
      SetShape(0, 0, 0, 0);
      return;
    }
    const int n = CountFor(a, b, c, d);
    const int cap = (n / 8) * 8 + 8;
    // A one-dimensional array keeps its layout: move the block (realloc, often
    // in place) instead of copying element by element.
    if constexpr (IsRelocatable<T>::value) {
      if (dims_ <= 1 && b <= 0 && c <= 0 && d <= 0 && data_) {
        const int keep = size_[0] < a ? size_[0] : a;
        const int old = capacity_;
        for (int x = cap; x < old; ++x) data_[x].~T();
        void* p = std::realloc(static_cast<void*>(data_), sizeof(T) * static_cast<size_t>(cap));
        if (!p) FatalError(kErrOutOfMemory);
        data_ = static_cast<T*>(p);
        capacity_ = cap;
        for (int x = keep; x < (old < cap ? old : cap); ++x) data_[x] = T{};
        for (int x = old; x < cap; ++x) new (data_ + x) T();
        SetShape(a, 0, 0, 0);
        return;
      }
    }
    ArrayValue next;
    next.Reallocate(cap, 0);
    next.SetShape(a, b, c, d);
    for (int x = 0; x < n; ++x) next.data_[x] = T{};
    const int s0 = Min(size_[0], a), s1 = Min(Used(size_[1]), Used(b));
    const int s2 = Min(Used(size_[2]), Used(c)), s3 = Min(Used(size_[3]), Used(d));
    for (int l = 0; l < s3; ++l)
      for (int k = 0; k < s2; ++k)
        for (int j = 0; j < s1; ++j)
          for (int i = 0; i < s0; ++i)
            next.data_[next.Offset(i, j, k, l)] = std::move(data_[Offset(i, j, k, l)]);
    Release();
    Steal(next);
  }

  void FillFromList(std::initializer_list<T> items) {
    Dimension(static_cast<int>(items.size()));
    int x = 0;
    for (const T& item : items) data_[x++] = item;
  }

  // One-dimensional arrays only: pushing onto a multi-dimensional array is
  // fatal (code 8).
  void Push(const T& value) { Push(T(value)); }  // value may live inside this array
  void Push(T&& value) {
    if (size_[1] != 0) FatalError(kErrPushMultiDim);
    T moved(std::move(value));  // value may live inside this array
    if (size_[0] + 1 < capacity_) {
      SetShape(size_[0] + 1, 0, 0, 0);
    } else {
      Redimension(size_[0] + 1);
    }
    data_[size_[0] - 1] = std::move(moved);
  }

  // A negative index counts from the end. Whole rows along dimension 0 move down.
  void Remove(int index) {
    if (index < 0) index += size_[0];
    if (!data_ || index < 0 || index >= size_[0]) ArrayBoundsFailure(size_, index, 0);
    const int s1 = Used(size_[1]), s2 = Used(size_[2]), s3 = Used(size_[3]);
    const int n0 = size_[0] - 1;
    // New positions never lie after old ones, so one forward pass is safe.
    int to = 0;
    for (int l = 0; l < s3; ++l)
      for (int k = 0; k < s2; ++k)
        for (int j = 0; j < s1; ++j)
          for (int i = 0; i < n0; ++i) {
            const int from = Offset(i < index ? i : i + 1, j, k, l);
            if (from != to) data_[to] = std::move(data_[from]);
            ++to;
          }
    for (int x = to; x < count_; ++x) data_[x] = T{};
    SetShape(n0, size_[1], size_[2], size_[3]);
  }

  // Sorts the elements along dimension 0 in ascending order (not stable).
  void Sort() {
    SortWith([](const T& a, const T& b) { return DefaultCompare(a, b); });
  }
  // `compare(a, b)` returns a number: negative when a comes first, positive when
  // it comes later, 0 when equal (and 0 for an element against itself).
  template <class Compare>
  void SortWith(Compare compare) {
    if (data_ && size_[0] > 1) QuickSort(0, size_[0] - 1, compare);
  }

  // ---- element access (bounds-checked) ----
  T& operator()(int i, int j = 0, int k = 0, int l = 0) { return data_[Checked(i, j, k, l)]; }
  const T& operator()(int i, int j = 0, int k = 0, int l = 0) const {
    return data_[Checked(i, j, k, l)];
  }
  T& operator[](int i) { return data_[Checked(i, 0, 0, 0)]; }
  const T& operator[](int i) const { return data_[Checked(i, 0, 0, 0)]; }

  // ---- queries ----
  int Size(int n = 0) const { return n >= 0 && n < 4 ? size_[n] : 0; }
  int Count() const { return count_; }
  int Dimensions() const { return dims_; }
  int Capacity() const { return capacity_; }
  int Stride(int n) const { return n >= 1 && n <= 3 ? stride_[n - 1] : 0; }
  bool HasStorage() const { return data_ != nullptr; }
  // Raw storage for tight loops that have checked their own bounds.
  T* Data() { return data_; }
  const T* Data() const { return data_; }

 private:
  static int Min(int a, int b) { return a < b ? a : b; }
  static int Used(int s) { return s > 0 ? s : 1; }
  static int CountFor(int a, int b, int c, int d) {
    const int64_t n = static_cast<int64_t>(a > 0 ? a : 0) * Used(b) * Used(c) * Used(d);
    if (n > 0x7fffffff / static_cast<int64_t>(sizeof(T))) FatalError(kErrOutOfMemory);
    return static_cast<int>(n);
  }

  static int DefaultCompare(const T& a, const T& b) {
    if constexpr (std::is_arithmetic_v<T>) {
      return (a > b) - (a < b);
    } else if constexpr (std::is_same_v<T, StringValue>) {
      return std::strcmp(a.c_str(), b.c_str());
    } else {
      return CompareFirstMember(a, b);
    }
  }

  template <class Compare>
  void QuickSort(int lo, int hi, Compare& compare) {
    while (lo < hi) {
      // Partition around the last element of the range.
      int store = lo;
      for (int x = lo; x < hi; ++x) {
        if (static_cast<int>(compare(data_[x], data_[hi])) < 0) {
          if (x != store) std::swap(data_[x], data_[store]);
          ++store;
        }
      }
      if (store != hi) std::swap(data_[store], data_[hi]);
      // Recurse into the smaller side so the depth stays logarithmic.
      if (store - lo < hi - store) {
        QuickSort(lo, store - 1, compare);
        lo = store + 1;
      } else {
        QuickSort(store + 1, hi, compare);
        hi = store - 1;
      }
    }
  }

  int Offset(int i, int j, int k, int l) const {
    return i + j * stride_[0] + k * stride_[1] + l * stride_[2];
  }

  int Checked(int i, int j, int k, int l) const {
    if (i < 0) i += size_[0];
    const bool ok = data_ && i >= 0 && i < size_[0] && InDim(j, size_[1]) && InDim(k, size_[2]) &&
                    InDim(l, size_[3]);
    if (!ok) ArrayBoundsFailure(size_, i, j);
    return Offset(i, j, k, l);
  }
  static bool InDim(int index, int size) {
    return size > 0 ? index >= 0 && index < size : index == 0;
  }

  void SetShape(int a, int b, int c, int d) {
    if (a <= 0) a = b = c = d = 0;
    size_[0] = a;
    size_[1] = b > 0 ? b : 0;
    size_[2] = c > 0 ? c : 0;
    size_[3] = d > 0 ? d : 0;
    stride_[0] = size_[0];
    stride_[1] = size_[0] * size_[1];
    stride_[2] = size_[0] * size_[1] * size_[2];
    count_ = a > 0 ? a * Used(size_[1]) * Used(size_[2]) * Used(size_[3]) : 0;
    dims_ = size_[3] ? 4 : size_[2] ? 3 : size_[1] ? 2 : size_[0] > 0 ? 1 : 0;
  }

  // New storage of `capacity` fresh elements; the old storage is released.
  void Reallocate(int capacity, int /*keep*/) {
    T* p =
        static_cast<T*>(std::malloc(sizeof(T) * static_cast<size_t>(capacity > 0 ? capacity : 1)));
    if (!p) FatalError(kErrOutOfMemory);
    for (int x = 0; x < capacity; ++x) new (p + x) T();
    Release();
    data_ = p;
    capacity_ = capacity;
  }

  void Release() {
    if (data_) {
      for (int x = 0; x < capacity_; ++x) data_[x].~T();
      std::free(static_cast<void*>(data_));
    }
    data_ = nullptr;
    capacity_ = 0;
    SetShape(0, 0, 0, 0);
  }

  void CopyFrom(const ArrayValue& other) {
    const int n = other.count_;
    if (n == 0 && !other.data_) {
      SetShape(0, 0, 0, 0);
      return;
    }
    if (capacity_ < n || !data_) Reallocate((n / 8) * 8 + 8, 0);
    for (int x = 0; x < n; ++x) data_[x] = other.data_[x];
    SetShape(other.size_[0], other.size_[1], other.size_[2], other.size_[3]);
  }

  void Steal(ArrayValue& other) {
    data_ = other.data_;
    capacity_ = other.capacity_;
    for (int x = 0; x < 4; ++x) size_[x] = other.size_[x];
    for (int x = 0; x < 3; ++x) stride_[x] = other.stride_[x];
    count_ = other.count_;
    dims_ = other.dims_;
    other.data_ = nullptr;
    other.capacity_ = 0;
    other.SetShape(0, 0, 0, 0);
  }

  T* data_ = nullptr;
  int stride_[3] = {0, 0, 0};
  int size_[4] = {0, 0, 0, 0};
  int count_ = 0;
  int dims_ = 0;
  int capacity_ = 0;
};

}  // namespace vxl
