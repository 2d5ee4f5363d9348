#pragma once
// An array of plain values that grows by std::realloc. A large block is
// grown by remapping its pages rather than by copying them into a new block,
// so filling millions of values touches their memory once, where a vector
// touches about twice as much and copies it along the way.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace velloran::workbook {

template <typename T>
class GrowingArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    GrowingArray() = default;
    ~GrowingArray() { std::free(data_); }
    GrowingArray(GrowingArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    GrowingArray& operator=(GrowingArray&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
        return *this;
    }

    void push_back(const T& value) {
        if (size_ == capacity_) grow();
        data_[size_++] = value;
    }
    // Drops the first `count` values, moving the rest to the front.
    void dropFront(std::size_t count) {
        if (count >= size_) return truncate(0);
        std::memmove(static_cast<void*>(data_), data_ + count, (size_ - count) * sizeof(T));
        size_ -= count;
    }
    // Drops the values from `size` on.
    void truncate(std::size_t size) {
        if (size < size_) size_ = size;
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t index) { return data_[index]; }
    const T& operator[](std::size_t index) const { return data_[index]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }

private:
    static constexpr std::size_t kFirstCapacity = 4096 / sizeof(T);

    void grow() {
        std::size_t capacity = capacity_ == 0 ? kFirstCapacity : capacity_ * 2;
        void* grown = std::realloc(data_, capacity * sizeof(T));
        if (!grown) throw std::bad_alloc();
        data_ = static_cast<T*>(grown);
        capacity_ = capacity;
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace velloran::workbook
