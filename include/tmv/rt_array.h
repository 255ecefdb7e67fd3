// RtArray: the runtime's array of one to four dimensions with tested indexes, and its commands.
#pragma once

#include "rt_string.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

// Records the code and position, says what happened and ends the program with the code as status
// (also in core.h).
[[noreturn]] void RuntimeError(int code);
[[noreturn]] void RuntimeError(int code, const char* meaning);

// Elements added per growth step. Strings take 64; numbers and records 8, unless the record states
// its own step with `static constexpr int32_t kArrayStep = 64;` (small records kept in long lists).
template <typename T>
constexpr int32_t ArrayStep() {
    if constexpr (requires { T::kArrayStep; })
        return T::kArrayStep;
    else if constexpr (std::is_same_v<T, RtString>)
        return 64;
    else
        return 8;
}

// Elements are numbers, RtString or records; a new element is T{} (zero numbers, empty strings).
// The first index varies fastest. Programs pass numbers through NumberToInt to get indexes.
template <typename T>
class RtArray {
  public:
    RtArray() = default;
    RtArray(const RtArray& other) { CopyFrom(other); }
    RtArray(RtArray&& other) noexcept { TakeFrom(other); }
    RtArray& operator=(const RtArray& other) {
        if (this != &other) {
            RtArray copy(other);
            TakeFrom(copy);
        }
        return *this;
    }
    RtArray& operator=(RtArray&& other) noexcept {
        if (this != &other) TakeFrom(other);
        return *this;
    }
    ~RtArray() = default;

    // Element access: a negative index counts from the end once; anything else outside its
    // dimension ends the program with error 9. Missing trailing indexes are 0.
    T& operator()(int32_t i0) { return data_[Index(i0, size0_, 9)]; }
    T& operator()(int32_t i0, int32_t i1) {
        return data_[Index(i0, size0_, 9) + size_t(Index(i1, size1_, 9)) * size_t(stride1_)];
    }
    T& operator()(int32_t i0, int32_t i1, int32_t i2) {
        return data_[Index(i0, size0_, 9) + size_t(Index(i1, size1_, 9)) * size_t(stride1_) +
                     size_t(Index(i2, size2_, 9)) * size_t(stride2_)];
    }
    T& operator()(int32_t i0, int32_t i1, int32_t i2, int32_t i3) {
        return data_[Index(i0, size0_, 9) + size_t(Index(i1, size1_, 9)) * size_t(stride1_) +
                     size_t(Index(i2, size2_, 9)) * size_t(stride2_) + size_t(Index(i3, size3_, 9)) * size_t(stride3_)];
    }
    const T& operator()(int32_t i0) const { return const_cast<RtArray&>(*this)(i0); }
    const T& operator()(int32_t i0, int32_t i1) const { return const_cast<RtArray&>(*this)(i0, i1); }
    const T& operator()(int32_t i0, int32_t i1, int32_t i2) const { return const_cast<RtArray&>(*this)(i0, i1, i2); }
    const T& operator()(int32_t i0, int32_t i1, int32_t i2, int32_t i3) const {
        return const_cast<RtArray&>(*this)(i0, i1, i2, i3);
    }

    // The used elements in block order, for range-for.
    T* begin() { return data_.get(); }
    T* end() { return data_.get() + Total(); }
    const T* begin() const { return data_.get(); }
    const T* end() const { return data_.get() + Total(); }

    int32_t Size(int dimension) const {
        switch (dimension) {
        case 0:
            return size0_;
        case 1:
            return size1_;
        case 2:
            return size2_;
        case 3:
            return size3_;
        default:
            return 0;
        }
    }
    int32_t Dimensions() const { return dimensions_; }
    int32_t Capacity() const { return capacity_; }
    // Elements in use: the sizes multiplied, unused dimensions counting as 1.
    size_t Total() const {
        if (size0_ == 0) return 0;
        return size_t(size0_) * size_t(Used(size1_)) * size_t(Used(size2_)) * size_t(Used(size3_));
    }

    // The index rule; errorCode is 9 for element access, 8 for DimDel.
    int32_t Index(int32_t index, int32_t size, int errorCode) const {
        if (index < 0) index += size;
        if (index < 0 || index >= size || !data_) RuntimeError(errorCode);
        return index;
    }

    void Dimension(int32_t s0, int32_t s1, int32_t s2, int32_t s3);
    void Redimension(int32_t s0, int32_t s1, int32_t s2, int32_t s3);
    void Push(T value);
    void Delete(int32_t index);

  private:
    static int32_t Used(int32_t size) { return size > 0 ? size : 1; }
    // The block a total needs: rounded down to the step, plus one step. Totals that do not fit end
    // with error 7 rather than wrap into a short block.
    static int32_t NeededCapacity(int32_t s0, int32_t s1, int32_t s2, int32_t s3);
    void Allocate(int32_t capacity);
    // A larger block for at least total elements, the elements kept.
    void Grow(int32_t total);
    void SetShape(int32_t s0, int32_t s1, int32_t s2, int32_t s3);
    void CopyFrom(const RtArray& other);
    void TakeFrom(RtArray& other) noexcept;

    std::unique_ptr<T[]> data_;
    int32_t stride1_ = 0, stride2_ = 0, stride3_ = 0;
    int32_t size0_ = 0, size1_ = 0, size2_ = 0, size3_ = 0;
    int32_t dimensions_ = 0;
    int32_t capacity_ = 0;
};

// ---- Commands
// Sizes below 1 count as 0 (an array with size0 0 is empty, of no dimensions). Every element
// becomes zero; a block that is big enough is reset in place and never shrinks.
template <typename T>
void Dim(RtArray<T>& array, int32_t size0, int32_t size1 = 0, int32_t size2 = 0, int32_t size3 = 0) {
    array.Dimension(size0, size1, size2, size3);
}
// As Dim, keeping every element whose indexes still fit the new sizes.
template <typename T>
void Redim(RtArray<T>& array, int32_t size0, int32_t size1 = 0, int32_t size2 = 0, int32_t size3 = 0) {
    array.Redimension(size0, size1, size2, size3);
}
// The size of dimension 0 to 3; 0 for any other number.
template <typename T>
int32_t Bounds(const RtArray<T>& array, int32_t dimension) {
    return array.Size(dimension);
}
// Appends a copy of value to a one-dimensional array; error 8 on more dimensions.
// The value converts to the element type: DimPush(names, "text"), DimPush(numbers, 1).
template <typename T>
void DimPush(RtArray<T>& array, const std::type_identity_t<T>& value) {
    array.Push(value);
}
template <typename T>
void DimPush(RtArray<T>& array, std::type_identity_t<T>&& value) {
    array.Push(std::move(value));
}
// Removes one element of a one-dimensional array, the later ones moving down; error 8 for an index
// outside the array or an array of more dimensions.
template <typename T>
void DimDel(RtArray<T>& array, int32_t index) {
    array.Delete(index);
}
// Orders a one-dimensional array ascending by operator< (numbers by value, records by the < they
// define, usually on their first field). Not stable.
template <typename T>
void SortArray(RtArray<T>& array);
// Puts a before b when compare(a, b) < 0, compare returning a number. Not stable.
template <typename T, typename Compare>
void SortArray(RtArray<T>& array, Compare compare);

// ---- Implementation

template <typename T>
int32_t RtArray<T>::NeededCapacity(int32_t s0, int32_t s1, int32_t s2, int32_t s3) {
    constexpr int64_t kLimit = INT32_MAX;
    int64_t total = s0;
    for (int32_t s : {s1, s2, s3}) {
        total *= Used(s);
        if (total > kLimit) RuntimeError(7, "out of memory");
    }
    int64_t capacity = total / ArrayStep<T>() * ArrayStep<T>() + ArrayStep<T>();
    if (capacity > kLimit) RuntimeError(7, "out of memory");
    return static_cast<int32_t>(capacity);
}

template <typename T>
void RtArray<T>::Allocate(int32_t capacity) {
    data_.reset();
    capacity_ = 0;
    data_.reset(new (std::nothrow) T[size_t(capacity)]());
    if (!data_) RuntimeError(7, "out of memory");
    capacity_ = capacity;
}

template <typename T>
void RtArray<T>::SetShape(int32_t s0, int32_t s1, int32_t s2, int32_t s3) {
    if (s0 == 0) s1 = s2 = s3 = 0;
    size0_ = s0;
    size1_ = s1;
    size2_ = s2;
    size3_ = s3;
    // Unused sizes span one step, so every counted element has a place of its own.
    stride1_ = s0;
    stride2_ = s0 * Used(s1);
    stride3_ = stride2_ * Used(s2);
    dimensions_ = s3 ? 4 : s2 ? 3 : s1 ? 2 : s0 ? 1 : 0;
}

template <typename T>
void RtArray<T>::Dimension(int32_t s0, int32_t s1, int32_t s2, int32_t s3) {
    auto clamp = [](int32_t s) { return s > 0 ? s : 0; };
    s0 = clamp(s0), s1 = clamp(s1), s2 = clamp(s2), s3 = clamp(s3);
    int32_t needed = NeededCapacity(s0, s1, s2, s3);
    if (capacity_ < needed || s0 == 0) {
        Allocate(needed);
    } else {
        for (int32_t i = 0; i < capacity_; ++i) data_[i] = T{};
    }
    SetShape(s0, s1, s2, s3);
}

template <typename T>
void RtArray<T>::Redimension(int32_t s0, int32_t s1, int32_t s2, int32_t s3) {
    RtArray fresh;
    fresh.Dimension(s0, s1, s2, s3);
    // Whole runs of the first index are moved for every combination of the others that fits both.
    auto keep = [](int32_t a, int32_t b) { return a < b ? a : b; };
    int32_t n0 = keep(size0_, fresh.size0_);
    int32_t n1 = keep(Used(size1_), Used(fresh.size1_));
    int32_t n2 = keep(Used(size2_), Used(fresh.size2_));
    int32_t n3 = keep(Used(size3_), Used(fresh.size3_));
    for (int32_t i3 = 0; n0 > 0 && i3 < n3; ++i3)
        for (int32_t i2 = 0; i2 < n2; ++i2)
            for (int32_t i1 = 0; i1 < n1; ++i1) {
                T* from = data_.get() + size_t(i1) * stride1_ + size_t(i2) * stride2_ + size_t(i3) * stride3_;
                T* to = fresh.data_.get() + size_t(i1) * fresh.stride1_ + size_t(i2) * fresh.stride2_ +
                        size_t(i3) * fresh.stride3_;
                for (int32_t i0 = 0; i0 < n0; ++i0) to[i0] = std::move(from[i0]);
            }
    TakeFrom(fresh);
}

// Pushes double the block when it is full, so that a long run of pushes costs constant time each.
template <typename T>
void RtArray<T>::Push(T value) {
    if (dimensions_ > 1) RuntimeError(8);
    int32_t n = size0_;
    if (!data_ || n >= capacity_ - 1) {
        if (n == INT32_MAX) RuntimeError(7, "out of memory");
        Grow(n + 1);
    }
    data_[n] = std::move(value);
    // The strides of a list are never read (a second index fails its test first), so only the size
    // moves: updating them as well costs a stalled reload of the size at every push.
    size0_ = n + 1;
    dimensions_ = 1;
}

template <typename T>
void RtArray<T>::Grow(int32_t total) {
    int64_t capacity = std::max<int64_t>(NeededCapacity(total, 0, 0, 0), int64_t(capacity_) * 2);
    capacity = std::min<int64_t>(capacity, INT32_MAX);
    // Elements past the end are not zeroed here: Push writes each before it counts, and Dim, Redim and
    // DimDel zero what they expose.
    std::unique_ptr<T[]> block(new (std::nothrow) T[size_t(capacity)]);
    if (!block) RuntimeError(7, "out of memory");
    for (int32_t i = 0; i < size0_; ++i) block[i] = std::move(data_[i]);
    data_ = std::move(block);
    capacity_ = static_cast<int32_t>(capacity);
}

// The block stays: a later push reuses it.
template <typename T>
void RtArray<T>::Delete(int32_t index) {
    if (dimensions_ > 1) RuntimeError(8);
    int32_t at = Index(index, size0_, 8);
    int32_t last = size0_ - 1;
    for (int32_t i = at; i < last; ++i) std::swap(data_[i], data_[i + 1]);
    if (last > 0) {
        data_[last] = T{};
        SetShape(last, 0, 0, 0);
    } else {
        Redimension(0, 0, 0, 0);
    }
}

template <typename T>
void RtArray<T>::CopyFrom(const RtArray& other) {
    if (other.data_) {
        Allocate(other.capacity_);
        std::copy(other.begin(), other.end(), data_.get());
    }
    SetShape(other.size0_, other.size1_, other.size2_, other.size3_);
}

template <typename T>
void RtArray<T>::TakeFrom(RtArray& other) noexcept {
    data_ = std::move(other.data_);
    stride1_ = std::exchange(other.stride1_, 0);
    stride2_ = std::exchange(other.stride2_, 0);
    stride3_ = std::exchange(other.stride3_, 0);
    size0_ = std::exchange(other.size0_, 0);
    size1_ = std::exchange(other.size1_, 0);
    size2_ = std::exchange(other.size2_, 0);
    size3_ = std::exchange(other.size3_, 0);
    dimensions_ = std::exchange(other.dimensions_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
}

// The sort trusts nothing the comparison answers: every scan is bounded by the range, so an
// inconsistent comparison or NaN values only give some order. Quicksort with the median of three,
// looping on the larger side (shallow stack on sorted or equal input), heapsort when partitions stay
// lopsided, insertion sort on short ranges.
namespace rt_array_sort {

template <typename T, typename Less>
void InsertionSort(T* a, ptrdiff_t lo, ptrdiff_t hi, Less& less) {
    for (ptrdiff_t i = lo + 1; i <= hi; ++i)
        for (ptrdiff_t j = i; j > lo && less(a[j], a[j - 1]); --j) std::swap(a[j], a[j - 1]);
}

template <typename T, typename Less>
void SiftDown(T* a, ptrdiff_t root, ptrdiff_t count, Less& less) {
    for (ptrdiff_t child; (child = 2 * root + 1) < count; root = child) {
        if (child + 1 < count && less(a[child], a[child + 1])) ++child;
        if (!less(a[root], a[child])) return;
        std::swap(a[root], a[child]);
    }
}

template <typename T, typename Less>
void HeapSort(T* a, ptrdiff_t count, Less& less) {
    for (ptrdiff_t i = count / 2; i-- > 0;) SiftDown(a, i, count, less);
    for (ptrdiff_t end = count - 1; end > 0; --end) {
        std::swap(a[0], a[end]);
        SiftDown(a, 0, end, less);
    }
}

// Leaves the pivot at its place and returns that place; lo <= result <= hi whatever less answers.
template <typename T, typename Less>
ptrdiff_t Partition(T* a, ptrdiff_t lo, ptrdiff_t hi, Less& less) {
    ptrdiff_t mid = lo + (hi - lo) / 2;
    if (less(a[mid], a[lo])) std::swap(a[mid], a[lo]);
    if (less(a[hi], a[mid])) {
        std::swap(a[hi], a[mid]);
        if (less(a[mid], a[lo])) std::swap(a[mid], a[lo]);
    }
    std::swap(a[lo], a[mid]);
    ptrdiff_t i = lo, j = hi + 1;
    for (;;) {
        do ++i;
        while (i < hi && less(a[i], a[lo]));
        do --j;
        while (j > lo && less(a[lo], a[j]));
        if (i >= j) break;
        std::swap(a[i], a[j]);
    }
    std::swap(a[lo], a[j]);
    return j;
}

template <typename T, typename Less>
void Sort(T* a, ptrdiff_t lo, ptrdiff_t hi, Less& less, int depthLeft) {
    while (hi - lo > 16) {
        if (depthLeft-- == 0) {
            HeapSort(a + lo, hi - lo + 1, less);
            return;
        }
        ptrdiff_t p = Partition(a, lo, hi, less);
        if (p - lo < hi - p) {
            Sort(a, lo, p - 1, less, depthLeft);
            lo = p + 1;
        } else {
            Sort(a, p + 1, hi, less, depthLeft);
            hi = p - 1;
        }
    }
    InsertionSort(a, lo, hi, less);
}

template <typename T, typename Less>
void Sort(T* a, ptrdiff_t count, Less less) {
    int depth = 0;
    for (ptrdiff_t n = count; n > 1; n >>= 1) depth += 2;
    Sort(a, 0, count - 1, less, depth);
}

} // namespace rt_array_sort

template <typename T>
void SortArray(RtArray<T>& array) {
    SortArray(array, [](const T& a, const T& b) { return a < b ? -1 : 0; });
}

template <typename T, typename Compare>
void SortArray(RtArray<T>& array, Compare compare) {
    if (array.Size(0) < 2) return;
    if (array.Dimensions() > 1) RuntimeError(8);
    rt_array_sort::Sort(array.begin(), ptrdiff_t(array.Size(0)),
                        [&compare](const T& a, const T& b) { return compare(a, b) < 0; });
}
