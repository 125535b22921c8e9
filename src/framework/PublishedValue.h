#pragma once
// A plain value one side changes and other threads read without a lock: a
// sequence-counted copy. A reader never waits for a lock; it reads again in
// the rare case a change was being written meanwhile. Writers exclude each
// other through the count itself, so a change may come from any thread.
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>
#include <type_traits>

template <class T>
class PublishedValue {
    static_assert(std::is_trivially_copyable_v<T>, "a published value is copied word by word");
    static constexpr std::size_t kWords = (sizeof(T) + sizeof(std::uint32_t) - 1) / sizeof(std::uint32_t);

public:
    explicit PublishedValue(const T& initial = T{}) { Write(initial); }
    PublishedValue(const PublishedValue&) = delete;
    PublishedValue& operator=(const PublishedValue&) = delete;

    T Load() const {
        for (;;) {
            const std::uint32_t before = sequence.load(std::memory_order_acquire);
            if ((before & 1u) == 0) {
                std::array<std::uint32_t, kWords> copy;
                for (std::size_t i = 0; i < kWords; ++i) copy[i] = words[i].load(std::memory_order_relaxed);
                std::atomic_thread_fence(std::memory_order_acquire);
                if (sequence.load(std::memory_order_relaxed) == before) return FromWords(copy);
            }
            std::this_thread::yield();
        }
    }

    // Changes the published value in place: change(T&) sees the value as it
    // stands and may alter any of it.
    template <class Change>
    void Update(Change&& change) {
        std::uint32_t s = sequence.load(std::memory_order_relaxed);
        for (;;) {
            if ((s & 1u) == 0 &&
                sequence.compare_exchange_weak(s, s + 1, std::memory_order_acquire, std::memory_order_relaxed))
                break;
            std::this_thread::yield();
            s = sequence.load(std::memory_order_relaxed);
        }
        std::atomic_thread_fence(std::memory_order_release);
        std::array<std::uint32_t, kWords> copy;
        for (std::size_t i = 0; i < kWords; ++i) copy[i] = words[i].load(std::memory_order_relaxed);
        T value = FromWords(copy);
        change(value);
        copy.fill(0);
        std::memcpy(copy.data(), &value, sizeof(T));
        for (std::size_t i = 0; i < kWords; ++i) words[i].store(copy[i], std::memory_order_relaxed);
        sequence.store(s + 2, std::memory_order_release);
    }
    void Store(const T& value) {
        Update([&](T& v) { v = value; });
    }

private:
    static T FromWords(const std::array<std::uint32_t, kWords>& copy) {
        T value;
        std::memcpy(static_cast<void*>(&value), copy.data(), sizeof(T));
        return value;
    }
    void Write(const T& value) {
        std::array<std::uint32_t, kWords> copy{};
        std::memcpy(copy.data(), &value, sizeof(T));
        for (std::size_t i = 0; i < kWords; ++i) words[i].store(copy[i], std::memory_order_relaxed);
    }

    std::atomic<std::uint32_t> sequence{0};
    std::array<std::atomic<std::uint32_t>, kWords> words{};
};
