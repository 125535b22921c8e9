#include "Writers.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace writers {
namespace {

void Put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

bool WriteWav(const std::string& path, const std::vector<float>& mono, int rate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(mono.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, static_cast<std::uint32_t>(rate));
    Put32(out, static_cast<std::uint32_t>(rate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (float s : mono) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        Put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
    }
    return WriteAll(path, out);
}

bool WriteVorbis(const std::string& path, const synth::Stereo& buffer, int rate, float quality, int serial) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "ENCODER", "glimmerfall soundgen");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);

    std::string bytes;
    ogg_page og;
    ogg_packet op;
    auto takePage = [&](const ogg_page& page) {
        bytes.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
        bytes.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
    };
    {
        ogg_packet header, comment, code;
        vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
        ogg_stream_packetin(&os, &header);
        ogg_stream_packetin(&os, &comment);
        ogg_stream_packetin(&os, &code);
        while (ogg_stream_flush(&os, &og) != 0) takePage(og);
    }
    const std::size_t chunk = 4096;
    std::size_t pos = 0;
    bool done = false;
    while (!done) {
        std::size_t n = std::min(chunk, buffer.Frames() - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** in = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            std::copy_n(buffer.left.begin() + static_cast<long>(pos), n, in[0]);
            std::copy_n(buffer.right.begin() + static_cast<long>(pos), n, in[1]);
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op) != 0) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) {
                    takePage(og);
                    if (ogg_page_eos(&og)) done = true;
                }
            }
        }
        if (n == 0) done = true;
    }
    while (ogg_stream_flush(&os, &og) != 0) takePage(og);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return WriteAll(path, bytes);
}

}  // namespace writers
