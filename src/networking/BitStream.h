#pragma once
// The least-significant-bit-first stream that messages are packed into.
// Stream bit n is the bit of weight 2^(n mod 8) in byte n / 8. The writer
// clears the bits above its position in each byte it touches, so a buffer
// need not be zeroed first and the unused end of the last byte is always 0.
// The reader is bounded: reading past the end marks it failed and yields 0.
#include <cstddef>
#include <cstdint>

namespace Networking {

// Smallest w with 2^w >= max - min + 1, computed exactly.
constexpr unsigned FieldWidth(std::uint32_t min, std::uint32_t max) {
    std::uint64_t count = std::uint64_t(max) - std::uint64_t(min) + 1;
    unsigned w = 0;
    while ((std::uint64_t(1) << w) < count) ++w;
    return w;
}

class BitWriter {
public:
    BitWriter(unsigned char* data, std::size_t bitPosition = 0) : data(data), pos(bitPosition) {}

    void Write(std::uint32_t value, unsigned width) {
        while (width > 0) {
            std::size_t byte = pos >> 3;
            unsigned shift = unsigned(pos & 7);
            unsigned take = 8 - shift < width ? 8 - shift : width;
            unsigned mask = (1u << take) - 1u;
            data[byte] = static_cast<unsigned char>((data[byte] & ((1u << shift) - 1u)) | ((value & mask) << shift));
            value = take < 32 ? value >> take : 0;
            width -= take;
            pos += take;
        }
    }
    void WriteBytes(const void* bytes, std::size_t count) {
        const auto* p = static_cast<const unsigned char*>(bytes);
        for (std::size_t i = 0; i < count; ++i) Write(p[i], 8);
    }

    std::size_t Position() const { return pos; }
    unsigned char* Data() const { return data; }

private:
    unsigned char* data;
    std::size_t pos;
};

class BitReader {
public:
    BitReader(const unsigned char* data, std::size_t sizeBytes, std::size_t bitPosition = 0)
        : data(data), limit(sizeBytes * 8), pos(bitPosition) {
        if (pos > limit) failed = true;
    }

    std::uint32_t Read(unsigned width) {
        if (failed || width > limit - pos) {
            failed = true;
            return 0;
        }
        std::uint32_t value = 0;
        unsigned got = 0;
        while (got < width) {
            std::size_t byte = pos >> 3;
            unsigned shift = unsigned(pos & 7);
            unsigned take = 8 - shift < width - got ? 8 - shift : width - got;
            std::uint32_t bits = (unsigned(data[byte]) >> shift) & ((1u << take) - 1u);
            value |= bits << got;
            got += take;
            pos += take;
        }
        return value;
    }
    // The next bits without moving (0 and failed when they are not there).
    std::uint32_t Peek(unsigned width) {
        std::size_t keep = pos;
        bool keepFailed = failed;
        std::uint32_t v = Read(width);
        bool ok = !failed;
        pos = keep;
        failed = keepFailed;
        if (!ok) return 0;
        return v;
    }
    bool ReadBytes(void* bytes, std::size_t count) {
        if (failed || count * 8 > limit - pos) {
            failed = true;
            return false;
        }
        auto* p = static_cast<unsigned char*>(bytes);
        for (std::size_t i = 0; i < count; ++i) p[i] = static_cast<unsigned char>(Read(8));
        return true;
    }

    std::size_t Position() const { return pos; }
    std::size_t Remaining() const { return failed ? 0 : limit - pos; }
    bool Failed() const { return failed; }
    void Fail() { failed = true; }

private:
    const unsigned char* data;
    std::size_t limit;
    std::size_t pos;
    bool failed = false;
};

}  // namespace Networking
