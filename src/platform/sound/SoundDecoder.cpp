#include "platform/sound/SoundDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

bool Fail(DecodedSound& out, std::string& error, const char* reason) {
    out = DecodedSound{};
    error = reason;
    return false;
}

bool DecodeWav(const unsigned char* bytes, std::size_t size, DecodedSound& out, std::string& error) {
    // Walk the chunks after "RIFF" <size> "WAVE"; every read is checked against the real length.
    std::size_t pos = 12;
    bool haveFormat = false;
    unsigned format = 0, channels = 0, bits = 0, blockAlign = 0;
    std::uint32_t rate = 0;
    while (pos + 8 <= size) {
        const unsigned char* chunk = bytes + pos;
        std::uint32_t length = Le32(chunk + 4);
        std::size_t body = pos + 8;
        std::size_t available = size - body;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || available < 16) return Fail(out, error, "WAV format chunk is too short");
            format = Le16(bytes + body);
            channels = Le16(bytes + body + 2);
            rate = Le32(bytes + body + 4);
            blockAlign = Le16(bytes + body + 12);
            bits = Le16(bytes + body + 14);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return Fail(out, error, "WAV data comes before its format");
            if (format != 1) return Fail(out, error, "WAV is not PCM");
            if (channels != 1 && channels != 2) return Fail(out, error, "WAV has neither one nor two channels");
            if (bits != 8 && bits != 16) return Fail(out, error, "WAV samples are neither 8 nor 16 bits");
            if (rate < 1000 || rate > 384000) return Fail(out, error, "WAV sample rate is out of range");
            if (blockAlign != channels * bits / 8) return Fail(out, error, "WAV block size does not match its format");
            // A data size past the end (a cut file, or a writer that never
            // filled it in) is taken as what is there, in whole frames.
            std::size_t dataBytes = std::min<std::size_t>(length, available);
            std::size_t frames = dataBytes / blockAlign;
            if (frames == 0) return Fail(out, error, "WAV holds no samples");
            out.channels = static_cast<int>(channels);
            out.rate = static_cast<int>(rate);
            out.samples.resize(frames * channels);
            const unsigned char* data = bytes + body;
            for (std::size_t i = 0; i < out.samples.size(); ++i) {
                out.samples[i] = bits == 16 ? static_cast<std::int16_t>(Le16(data + 2 * i))
                                            : static_cast<std::int16_t>((static_cast<int>(data[i]) - 128) * 256);
            }
            return true;
        }
        if (length > available) break;
        pos = body + length + (length & 1u);  // chunks are padded to an even length
    }
    return Fail(out, error, haveFormat ? "WAV has no data chunk" : "WAV has no format chunk");
}

struct MemoryFile {
    const unsigned char* bytes;
    std::size_t size;
    std::size_t pos;
};

std::size_t MemRead(void* ptr, std::size_t size, std::size_t count, void* source) {
    auto* f = static_cast<MemoryFile*>(source);
    if (size == 0) return 0;
    std::size_t items = std::min(count, (f->size - f->pos) / size);
    std::memcpy(ptr, f->bytes + f->pos, items * size);
    f->pos += items * size;
    return items;
}

int MemSeek(void* source, ogg_int64_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(source);
    ogg_int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<ogg_int64_t>(f->pos)
                                            : static_cast<ogg_int64_t>(f->size);
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(f->size)) return -1;
    f->pos = static_cast<std::size_t>(target);
    return 0;
}

long MemTell(void* source) { return static_cast<long>(static_cast<MemoryFile*>(source)->pos); }

bool DecodeVorbis(const unsigned char* bytes, std::size_t size, DecodedSound& out, std::string& error) {
    MemoryFile file{bytes, size, 0};
    ov_callbacks callbacks{MemRead, MemSeek, nullptr, MemTell};
    OggVorbis_File vf;
    if (ov_open_callbacks(&file, &vf, nullptr, 0, callbacks) != 0)
        return Fail(out, error, "not a readable Ogg Vorbis stream");
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || (info->channels != 1 && info->channels != 2)) {
        ov_clear(&vf);
        return Fail(out, error, "Ogg Vorbis stream has neither one nor two channels");
    }
    out.channels = info->channels;
    out.rate = static_cast<int>(info->rate);
    ogg_int64_t total = ov_pcm_total(&vf, -1);
    // The length in the stream's header is only a hint (a damaged file may claim anything).
    if (total > 0)
        out.samples.reserve(std::min<std::size_t>(static_cast<std::size_t>(total), std::size_t{1} << 24) *
                            static_cast<std::size_t>(out.channels));
    char buffer[16384];
    int section = 0;
    int holes = 0;
    for (;;) {
        long got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section);
        if (got == OV_HOLE && ++holes < 64) continue;  // a gap in the stream: the decoder goes on after it
        if (got < 0) {
            ov_clear(&vf);
            return Fail(out, error, "Ogg Vorbis stream is damaged");
        }
        if (got == 0) break;
        std::size_t n = static_cast<std::size_t>(got) / 2;
        std::size_t at = out.samples.size();
        out.samples.resize(at + n);
        std::memcpy(out.samples.data() + at, buffer, n * 2);
    }
    ov_clear(&vf);
    out.samples.resize(out.Frames() * static_cast<std::size_t>(out.channels));
    if (out.samples.empty()) return Fail(out, error, "Ogg Vorbis stream holds no samples");
    return true;
}

}  // namespace

SoundFormat DetectSoundFormat(const void* data, std::size_t size) {
    const auto* b = static_cast<const unsigned char*>(data);
    if (!b) return SoundFormat::Unknown;
    if (size >= 12 && std::memcmp(b, "RIFF", 4) == 0 && std::memcmp(b + 8, "WAVE", 4) == 0) return SoundFormat::Wav;
    if (size >= 4 && std::memcmp(b, "OggS", 4) == 0) return SoundFormat::OggVorbis;
    return SoundFormat::Unknown;
}

bool DecodeSound(const void* data, std::size_t size, DecodedSound& out, std::string& error) {
    out = DecodedSound{};
    error.clear();
    const auto* bytes = static_cast<const unsigned char*>(data);
    switch (DetectSoundFormat(data, size)) {
        case SoundFormat::Wav: return DecodeWav(bytes, size, out, error);
        case SoundFormat::OggVorbis: return DecodeVorbis(bytes, size, out, error);
        case SoundFormat::Unknown: break;
    }
    return Fail(out, error, "neither WAV nor Ogg Vorbis");
}
