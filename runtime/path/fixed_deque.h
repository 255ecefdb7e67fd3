// FixedDeque: a ring buffer of fixed capacity that keeps its elements in order, the planner's open list.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

template <typename T>
class FixedDeque {
  public:
    virtual ~FixedDeque() = default;

    // Empties the deque and makes room for capacity elements; false (capacity 0) when it cannot be had.
    bool Reserve(int32_t capacity) {
        buffer_.reset();
        capacity_ = head_ = size_ = 0;
        if (capacity <= 0) return true;
        buffer_.reset(new (std::nothrow) T[size_t(capacity)]);
        if (!buffer_) return false;
        capacity_ = capacity;
        return true;
    }

    int32_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    bool Full() const { return size_ == capacity_; }
    // Index 0 is the oldest end; 0 <= index < Size().
    T& At(int32_t index) { return buffer_[Slot(index)]; }
    T& Back() { return At(size_ - 1); }
    bool PushBack(const T& value) { return Insert(size_, value); }
    void PopBack() {
        if (size_ > 0) --size_;
    }
    void Clear() { head_ = size_ = 0; }

    // Puts value at index (0 <= index <= Size()), moving the shorter side; false and nothing changed
    // when the deque is full.
    bool Insert(int32_t index, const T& value) {
        if (Full()) return false;
        if (index < size_ - index) {
            head_ = Slot(capacity_ - 1);
            MoveTowardFront(1, index + 1);
        } else {
            MoveTowardBack(index, size_);
        }
        ++size_;
        At(index) = value;
        return true;
    }
    // Takes out the element at index (0 <= index < Size()), moving the shorter side.
    void Remove(int32_t index) {
        if (index < size_ - 1 - index) {
            MoveTowardBack(0, index);
            head_ = Slot(1);
        } else {
            MoveTowardFront(index + 1, size_);
        }
        --size_;
    }

  private:
    // Buffer position of logical index i, 0 <= i < capacity.
    int32_t Slot(int32_t i) const {
        int32_t slot = head_ + i;
        return slot >= capacity_ ? slot - capacity_ : slot;
    }
    // Elements [from, to) one place toward the front, in runs that do not cross the buffer's end.
    void MoveTowardFront(int32_t from, int32_t to) {
        while (from < to) {
            int32_t source = Slot(from), target = Slot(from - 1);
            int32_t run = std::min({to - from, capacity_ - source, capacity_ - target});
            std::copy(&buffer_[source], &buffer_[source] + run, &buffer_[target]);
            from += run;
        }
    }
    // Elements [from, to) one place toward the back, last first.
    void MoveTowardBack(int32_t from, int32_t to) {
        while (to > from) {
            int32_t source = Slot(to - 1), target = Slot(to);
            int32_t run = std::min({to - from, source + 1, target + 1});
            std::copy_backward(&buffer_[source + 1 - run], &buffer_[source + 1], &buffer_[target + 1]);
            to -= run;
        }
    }

    std::unique_ptr<T[]> buffer_;
    int32_t capacity_ = 0;
    int32_t head_ = 0; // buffer position of the oldest element
    int32_t size_ = 0;
};
