// Writes the starting inputs of the fuzz targets that no build step makes:
// every network message, packs and the connection words, discovery replies,
// a save file, archetype files, a font section, text and small sounds. Each
// is a valid input, made with the game's own writers where it has them.
//
//   gf_fuzz_seeds <seed folder>   (one sub-folder per target)
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "networking/Messages.h"
#include "networking/NetEngine.h"

using namespace Networking;
namespace fs = std::filesystem;

namespace {

fs::path root;

void Put(const std::string& target, const std::string& name, const std::vector<unsigned char>& bytes) {
    fs::create_directories(root / target);
    std::ofstream out(root / target / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
void Put(const std::string& target, const std::string& name, const std::string& text) {
    Put(target, name, std::vector<unsigned char>(text.begin(), text.end()));
}

// A message with some fields set: every string and list gets content.
std::vector<unsigned char> MessageBits(const BaseNetMessage& msg, std::size_t startBit,
                                       std::vector<unsigned char> prefix) {
    const std::size_t bits = startBit + BaseNetMessage::ID_BITS + msg.Size();
    prefix.resize((bits + 7) / 8 + 1, 0);
    BitWriter out(prefix.data(), startBit);
    msg.Serialize(out);
    prefix.resize((out.Position() + 7) / 8);
    return prefix;
}

// A pack as the engine writes it: count, reliable flag, then the sequence
// number or the immediate flag, then the messages.
std::vector<unsigned char> Pack(const std::vector<const BaseNetMessage*>& messages, bool reliable, std::uint16_t seq) {
    std::vector<unsigned char> d(MAX_PACK_BYTES, 0);
    d[0] = static_cast<unsigned char>(messages.size() & 0xFF);
    d[1] = static_cast<unsigned char>(messages.size() >> 8);
    BitWriter out(d.data() + 2);
    out.Write(reliable ? 1 : 0, 1);
    if (reliable)
        out.Write(seq, 16);
    else
        out.Write(0, 1);
    for (const BaseNetMessage* m : messages) m->Serialize(out);
    d.resize(2 + out.Position() / 8 + 1);
    return d;
}

void LittleEndian(std::vector<unsigned char>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::vector<unsigned char> Wave(int channels, int bits, int frames) {
    std::vector<unsigned char> w;
    const int block = channels * bits / 8;
    const std::uint32_t dataBytes = std::uint32_t(block * frames);
    w.insert(w.end(), {'R', 'I', 'F', 'F'});
    LittleEndian(w, 36 + dataBytes, 4);
    w.insert(w.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    LittleEndian(w, 16, 4);
    LittleEndian(w, 1, 2);
    LittleEndian(w, std::uint32_t(channels), 2);
    LittleEndian(w, 22050, 4);
    LittleEndian(w, std::uint32_t(22050 * block), 4);
    LittleEndian(w, std::uint32_t(block), 2);
    LittleEndian(w, std::uint32_t(bits), 2);
    w.insert(w.end(), {'d', 'a', 't', 'a'});
    LittleEndian(w, dataBytes, 4);
    for (std::uint32_t i = 0; i < dataBytes; ++i) w.push_back(static_cast<unsigned char>((i * 37) & 0xFF));
    return w;
}

std::vector<unsigned char> FontSection() {
    std::vector<unsigned char> f;
    f.push_back(1);  // the fuzz target's sheet count byte
    LittleEndian(f, 256, 4);
    LittleEndian(f, 256, 4);
    LittleEndian(f, 1, 4);
    for (char c : std::string("Seed")) f.push_back(static_cast<unsigned char>(c));
    f.push_back(0);
    LittleEndian(f, 0, 4);
    auto putFloat = [&](float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        LittleEndian(f, bits, 4);
    };
    for (int c = 0; c < 128; ++c) putFloat(float(c % 16) / 16.0f);
    for (int c = 0; c < 128; ++c) putFloat(float(c / 16) / 8.0f);
    for (int c = 0; c < 128; ++c) putFloat(0.03f + float(c % 5) * 0.005f);
    putFloat(0.06f);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    root = argv[1];
    const auto& factories = MessageFactoryTable();
    const auto& names = MessageNameTable();

    // Each message alone (first byte: its id), and inside packs.
    std::vector<BaseNetMessage*> all;
    for (unsigned id = 0; id < factories.size(); ++id) all.push_back(factories[id]());
    for (unsigned id = 0; id < factories.size(); ++id) {
        std::vector<unsigned char> bits = MessageBits(*all[id], 0, {});
        std::vector<unsigned char> seed{static_cast<unsigned char>(id)};
        // The target writes the id itself: the seed holds what follows it.
        BitReader skip(bits.data(), bits.size());
        skip.Read(BaseNetMessage::ID_BITS);
        while (skip.Remaining() >= 8) seed.push_back(static_cast<unsigned char>(skip.Read(8)));
        if (skip.Remaining() > 0) seed.push_back(static_cast<unsigned char>(skip.Read(unsigned(skip.Remaining()))));
        Put("fuzz_messages", names[id], seed);

        // The first byte: 0 from the joined client to the server, 2 from the server to the client.
        for (unsigned char way : {0, 2})
            for (int reliable = 0; reliable < 2; ++reliable) {
                std::vector<unsigned char> pack = Pack({all[id]}, reliable != 0, 1);
                pack.insert(pack.begin(), way);
                Put("fuzz_pack", names[id] + (reliable ? "-reliable" : "-unreliable") + (way ? "-to-client" : ""),
                    pack);
            }
    }
    {
        std::vector<const BaseNetMessage*> several(all.begin(), all.end());
        std::vector<unsigned char> pack = Pack(several, true, 1);
        pack.insert(pack.begin(), 0);
        Put("fuzz_pack", "every-message-reliable", pack);
        for (std::uint16_t seq : {0, 2, 3}) {
            std::vector<unsigned char> p = Pack({all[0], all[1]}, true, seq);
            p.insert(p.begin(), 0);
            Put("fuzz_pack", "sequence-" + std::to_string(seq), p);
        }
    }
    Put("fuzz_pack", "connect-word", std::vector<unsigned char>{1, 0x7F, 0xF0});
    Put("fuzz_pack", "send-socket-word", std::vector<unsigned char>{1, 0xF7, 0x0F});
    for (BaseNetMessage* m : all) {
        m->Free();
        delete m;
    }

    // Discovery replies: the check words, the name, the server information.
    for (const std::string name : {"Server", ""}) {
        std::vector<unsigned char> reply;
        LittleEndian(reply, 0xF03C83F2u, 4);
        LittleEndian(reply, ~0xF03C83F2u, 4);
        reply.insert(reply.end(), name.begin(), name.end());
        reply.push_back(0);
        NetMessage::MSG_ServerInfo info("GrassLevel01", 3);
        std::vector<unsigned char> bits = MessageBits(info, 0, {});
        reply.insert(reply.end(), bits.begin(), bits.end());
        Put("fuzz_discovery", "reply-" + (name.empty() ? std::string("unnamed") : name), reply);
    }

    // The save file as the game writes it.
    Put("fuzz_save_file", "saved",
        std::string("Ver3\n255 5 150\n10 15 20 1 5\nNoName\n1 1 1 1 1\n0.500000 0.500000\n"));
    Put("fuzz_save_file", "crlf", std::string("Ver3\r\n1 2 3\r\n1 2 3 4 5\r\nA name\r\n0 1 0 1 0\r\n1.0 0.25\r\n"));

    // Archetype files: groups, a template and an action (nested files name
    // nothing that exists in the target's folder).
    Put("fuzz_archetype", "groups",
        std::string("<?xml version=\"1.0\"?>\n<Archetypes>\n  <Group name=\"Pickups\">\n"
                    "    <Object name=\"Firefly\"/>\n    <Group name=\"\"><Collision/></Group>\n"
                    "    <Unknown value=\"1\">text</Unknown>\n  </Group>\n  <Engines/>\n"
                    "  <Template file=\"missing.xml\"/>\n  <File name=\"other.xml\"/>\n"
                    "  <Action>act.xml</Action>\n</Archetypes>\n"));

    Put("fuzz_font_data", "one-font", FontSection());

    // Text: the box settings are read from the leading bytes, then the text.
    {
        std::string box(64, '\x20');
        Put("fuzz_text_layout", "plain", box + "Hello, world");
        Put("fuzz_text_layout", "lines", box + "first line\nsecond\tline\n\nlast");
        Put("fuzz_text_layout", "colours", box + "a #0xFF8000#orange# and #0x11223344#b");
    }

    Put("fuzz_sound", "mono8.wav", Wave(1, 8, 64));
    Put("fuzz_sound", "stereo16.wav", Wave(2, 16, 64));
    return 0;
}
