// The message family and its bit encoding: ids and names in registration
// order, field widths, golden bytes of every type at two bit offsets, and
// reading back at every offset.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "networking/Messages.h"

using namespace Networking;
using namespace Networking::NetMessage;
using namespace Networking::PrivateNetMessage;

namespace {

// An independent writer of expected streams: values appended LSB first.
struct Bits {
    std::vector<unsigned char> bytes;
    std::size_t pos = 0;
    Bits& u(std::uint64_t v, unsigned w) {
        for (unsigned i = 0; i < w; ++i, ++pos) {
            if (pos / 8 >= bytes.size()) bytes.push_back(0);
            if ((v >> i) & 1) bytes[pos / 8] |= static_cast<unsigned char>(1u << (pos % 8));
        }
        return *this;
    }
    Bits& str(const std::string& s) {
        for (unsigned char c : s) u(c, 8);
        return u(0, 8);
    }
    Bits& f32(float f) {
        std::uint32_t v;
        std::memcpy(&v, &f, 4);
        return u(v, 32);
    }
    Bits& i32(int i) { return u(std::uint32_t(i), 32); }
};

// One field of the wire table: kind and width, and the value the test uses.
struct Field {
    char kind;  // 'u' ranged, 's' string, 'i' i32, 'f' f32, '2' vec2, '3' vec3, 'b' bool, 'l' list
    unsigned width;
};

struct TypeRow {
    unsigned id;
    const char* name;
    std::vector<Field> fields;
};

const std::vector<TypeRow>& Table() {
    static const std::vector<TypeRow> rows = {
        {0, "MSG_ServerInfo", {{'s', 0}, {'u', 5}}},
        {1, "MSG_Finished", {}},
        {2, "MSG_Explode", {{'s', 0}, {'2', 0}, {'2', 0}}},
        {3, "MSG_RemoveTerrain", {{'2', 0}}},
        {4, "MSG_BreakTerrain", {{'2', 0}}},
        {5, "MSG_GrabPlayer", {{'u', 4}, {'u', 4}}},
        {6, "MSG_CancelGrab", {{'u', 4}, {'u', 4}}},
        {7, "MSG_DeleteObj", {{'s', 0}}},
        {8, "MSG_DropObj", {{'s', 0}}},
        {9, "MSG_Sync", {{'s', 0}}},
        {10, "MSG_CollectShard", {{'s', 0}}},
        {11, "MSG_CollectFireFly", {{'s', 0}, {'i', 0}, {'2', 0}}},
        {12, "MSG_CollectMoonRock", {{'s', 0}}},
        {13, "MSG_ChangeLevel", {{'s', 0}}},
        {14, "MSG_LoadLevel", {{'s', 0}}},
        {15, "MSG_NextLevel", {}},
        {16, "MSG_GameRules", {{'s', 0}, {'u', 6}, {'u', 6}, {'u', 7}, {'u', 7}, {'u', 7}, {'u', 7}, {'u', 7}}},
        {17, "MSG_RequestLevel", {{'b', 1}}},
        {18, "MSG_LevelData", {{'l', 0}, {'u', 10}, {'u', 10}, {'b', 1}, {'b', 1}, {'b', 1}}},
        {19, "MSG_CreateNetObj", {{'s', 0}, {'s', 0}, {'s', 0}, {'u', 4}, {'3', 0}, {'u', 32}}},
        {20, "MSG_SendCreateMsg", {{'s', 0}, {'s', 0}, {'s', 0}, {'u', 4}, {'3', 0}, {'2', 0}, {'u', 32}}},
        {21,
         "MSG_UpdatePlayer",
         {{'s', 0},
          {'3', 0},
          {'2', 0},
          {'u', 9},
          {'f', 0},
          {'i', 0},
          {'u', 4},
          {'b', 1},
          {'b', 1},
          {'b', 1},
          {'b', 1},
          {'b', 1},
          {'b', 1},
          {'b', 1},
          {'b', 1},
          {'b', 1},
          {'u', 16}}},
        {22, "MSG_Throw", {{'u', 4}, {'b', 1}}},
        {23, "MSG_SetClientInfo", {{'u', 4}, {'u', 32}, {'s', 0}}},
        {24, "MSG_SetCheckPoint", {{'2', 0}}},
        {25, "MSG_ChangeScore", {{'u', 4}, {'i', 0}}},
        {26, "MSG_AnimateSpring", {{'s', 0}}},
        {27, "PMSG_Ack", {{'u', 16}}},
        {28, "PMSG_ConfirmConnect", {{'u', 32}}},
        {29, "PMSG_Pong", {{'u', 16}}},
        {30, "PMSG_Ping", {{'u', 16}}},
        {31, "PMSG_SetClientID", {{'u', 8}, {'u', 32}}},
        {32, "PMSG_SetRTT", {{'u', 12}}},
    };
    return rows;
}

// The expected stream of a type with distinctive values, after `prefix` bits of 1s and 0s.
Bits Expected(const TypeRow& row, unsigned prefix, unsigned& fieldBits) {
    Bits b;
    for (unsigned i = 0; i < prefix; ++i) b.u((i + 1) % 2, 1);
    b.u(row.id, 6);
    std::size_t start = b.pos;
    unsigned k = 0;
    for (const Field& f : row.fields) {
        ++k;
        switch (f.kind) {
            case 'u':
                b.u((0xA5C3F1E7u + 977u * k) & ((f.width == 32) ? 0xFFFFFFFFu : ((1u << f.width) - 1)), f.width);
                break;
            case 's': b.str(k % 2 ? std::string("Ab\xE9z") + char('0' + k) : std::string()); break;
            case 'i': b.i32(-1234567 * int(k)); break;
            case 'f': b.f32(3.25f * float(k)); break;
            case '2': b.f32(1.5f * float(k)).f32(-2.75f); break;
            case '3': b.f32(0.5f).f32(-8.0f * float(k)).f32(1e9f); break;
            case 'b': b.u(k % 3 != 0, 1); break;
            case 'l':
                b.u(3, 9);
                b.i32(7).i32(-1).i32(0x12345678);
                break;
        }
    }
    fieldBits = unsigned(b.pos - start);
    return b;
}

std::vector<unsigned char> Written(const BaseNetMessage& m, unsigned prefix, unsigned& bytes, unsigned& bit) {
    std::vector<unsigned char> out(2000, 0xEE);  // not zeroed: the writer must clear what it uses
    Bits pre;
    for (unsigned i = 0; i < prefix; ++i) pre.u((i + 1) % 2, 1);
    if (prefix) out[0] = static_cast<unsigned char>((out[0] & ~((1u << prefix) - 1)) | pre.bytes[0]);
    bytes = 0;
    bit = prefix;
    m.Serialize(out.data(), bytes, bit);
    out.resize(bytes + (bit ? 1 : 0));
    return out;
}

}  // namespace

TEST(MessageRegistry, ThirtyThreeTypesInRegistrationOrder) {
    ASSERT_EQ(MessageFactoryTable().size(), 33u);
    ASSERT_EQ(MessageNameTable().size(), 33u);
    for (const TypeRow& row : Table()) {
        EXPECT_EQ(MessageNameTable()[row.id], row.name);
        std::unique_ptr<BaseNetMessage> m(MessageFactoryTable()[row.id]());
        EXPECT_EQ(m->typeId, row.id) << row.name;
    }
    EXPECT_EQ(MSG_ServerInfo::MSG_ID, 0u);
    EXPECT_EQ(MSG_UpdatePlayer::MSG_ID, 21u);
    EXPECT_EQ(MSG_AnimateSpring::MSG_ID, 26u);
    EXPECT_EQ(PMSG_Ack::MSG_ID, 27u);
    EXPECT_EQ(PMSG_SetRTT::MSG_ID, 32u);
    EXPECT_STREQ(MessageName(40), "?");
}

TEST(MessageRegistry, CreateAndFieldlessTypes) {
    std::unique_ptr<BaseNetMessage> level(MessageFactoryTable()[18]());
    auto* data = dynamic_cast<MSG_LevelData*>(level.get());
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->cells.value.empty());

    EXPECT_TRUE(GeneralNetMessage<MSG_Finished>::GetMemberOffset().empty());
    EXPECT_TRUE(GeneralNetMessage<MSG_NextLevel>::GetMemberOffset().empty());
    EXPECT_EQ(GeneralNetMessage<PMSG_ConfirmConnect>::GetMemberOffset().size(), 1u);
    EXPECT_EQ(GeneralNetMessage<MSG_UpdatePlayer>::GetMemberOffset().size(), 17u);
    EXPECT_EQ(MSG_Finished().Size(), 0u);

    MSG_ChangeScore a;
    a.playerId = 3;
    a.delta = -7;
    a.sender = 4;
    MSG_ChangeScore b(a);
    EXPECT_EQ(b.typeId, 25u);
    EXPECT_EQ(b.sender, 4);
    EXPECT_EQ(b.playerId.value, 3u);
    EXPECT_EQ(b.delta.value, -7);
}

TEST(FieldWidth, RangesOfTheFieldTable) {
    struct Case {
        std::uint32_t min, max;
        unsigned width;
    } cases[] = {{0, 15, 4},  {0, 16, 5},    {0, 8, 4},     {0, 63, 6},     {0, 127, 7},          {0, 255, 8},
                 {0, 511, 9}, {1, 1024, 10}, {0, 4095, 12}, {0, 65535, 16}, {0, 0xFFFFFFFFu, 32}, {0, 325, 9}};
    for (const Case& c : cases) EXPECT_EQ(FieldWidth(c.min, c.max), c.width) << c.min << ".." << c.max;
    EXPECT_EQ(BaseNetMessage::ID_BITS, 6u);
}

TEST(FieldEncoding, RangedFieldKeepsItsLowBits) {
    MSG_Throw t;
    t.playerId = 17;  // 4 bits: arrives as 1
    t.throwRight = true;
    MSG_LevelData d;
    d.width = 1024;  // 10 bits: arrives as 0
    d.height = 1023;
    std::vector<unsigned char> buf(64, 0);
    unsigned bytes = 0, bit = 0;
    t.Serialize(buf.data(), bytes, bit);
    d.Serialize(buf.data() + bytes, bytes, bit);
    BitReader in(buf.data(), buf.size());
    MSG_Throw t2;
    MSG_LevelData d2;
    ASSERT_TRUE(t2.Deserialize(in));
    ASSERT_TRUE(d2.Deserialize(in));
    EXPECT_EQ(t2.playerId.value, 1u);
    EXPECT_TRUE(t2.throwRight.value);
    EXPECT_EQ(d2.width.value, 0u);
    EXPECT_EQ(d2.height.value, 1023u);
}

TEST(FieldEncoding, PositionsAndSizes) {
    // A 6-bit field starting at bit 5 ends at bit 3 of the next byte.
    NetUInt<0, 63> six(0x2A);
    unsigned char buf[4] = {};
    unsigned bytes = 0, bit = 5;
    six.Serialize(buf, bytes, bit);
    EXPECT_EQ(bytes, 1u);
    EXPECT_EQ(bit, 3u);
    EXPECT_EQ(buf[0], 0x40);  // bits 5..7 hold 010
    EXPECT_EQ(buf[1], 0x05);  // bits 0..2 hold 101

    // Nine flags from bit 0 cross one byte boundary.
    MSG_UpdatePlayer p;
    unsigned char flags[4] = {};
    bytes = 0;
    bit = 0;
    for (NetBool* f : {&p.rolling, &p.upPressed, &p.downPressed, &p.rightPressed, &p.leftPressed, &p.grabPressed,
                       &p.grabTriggered, &p.jumpPressed, &p.jumpTriggered}) {
        *f = true;
        f->Serialize(flags + bytes, bytes, bit);
    }
    EXPECT_EQ(bytes, 1u);
    EXPECT_EQ(bit, 1u);
    EXPECT_EQ(flags[0], 0xFF);
    EXPECT_EQ(flags[1], 0x01);

    NetString empty, three("abc");
    EXPECT_EQ(empty.Size(), 8u);
    EXPECT_EQ(three.Size(), 32u);
    EXPECT_EQ(p.Size(), 246u + 8u + 16u);  // empty name, the snapshot number

    MSG_LevelData chunk;
    chunk.cells.value.assign(325, 1);
    EXPECT_EQ(chunk.Size(), 23u + 9u + 325u * 32u);
}

TEST(GoldenBytes, HandComputed) {
    struct Case {
        const BaseNetMessage* msg;
        unsigned prefix;  // bits already used in the first byte (pattern 1,0,1,0,1)
        std::vector<unsigned char> bytes;
        unsigned byteCount, bitIndex;
    };
    PMSG_Ack ack(0x1234);
    MSG_Finished finished;
    MSG_Throw thr;
    thr.playerId = 8;
    thr.throwRight = true;
    MSG_ServerInfo info("A", 16);
    const Case cases[] = {
        {&ack, 0, {0x1B, 0x8D, 0x04}, 2, 6},
        {&ack, 5, {0x75, 0xA3, 0x91, 0x00}, 3, 3},
        {&finished, 0, {0x01}, 0, 6},
        {&finished, 5, {0x35, 0x00}, 1, 3},
        {&thr, 0, {0x16, 0x06}, 1, 3},
        // id 0, "A" = 0x41, 0, then 16 in five bits
        {&info, 0, {0x40, 0x10, 0x00, 0x04}, 3, 3},
    };
    for (const Case& c : cases) {
        unsigned bytes = 0, bit = 0;
        std::vector<unsigned char> out = Written(*c.msg, c.prefix, bytes, bit);
        EXPECT_EQ(out, c.bytes) << MessageName(c.msg->typeId) << " at bit " << c.prefix;
        EXPECT_EQ(bytes, c.byteCount);
        EXPECT_EQ(bit, c.bitIndex);
    }
}

TEST(GoldenBytes, EveryTypeAtTwoOffsets) {
    for (const TypeRow& row : Table()) {
        for (unsigned prefix : {0u, 5u}) {
            unsigned fieldBits = 0;
            Bits expected = Expected(row, prefix, fieldBits);
            // Read the expected stream into a fresh message of the type...
            std::unique_ptr<BaseNetMessage> m(MessageFactoryTable()[row.id]());
            unsigned rb = 0, rbit = prefix;
            ASSERT_TRUE(m->Deserialize(expected.bytes.data(), expected.bytes.size(), rb, rbit)) << row.name;
            EXPECT_EQ(m->typeId, row.id);
            EXPECT_EQ(m->Size(), fieldBits) << row.name;
            EXPECT_EQ(rb * 8 + rbit, expected.pos) << row.name;
            // ...and write it back: the same bits, also over a dirty buffer.
            unsigned wb = 0, wbit = 0;
            std::vector<unsigned char> out = Written(*m, prefix, wb, wbit);
            EXPECT_EQ(out, expected.bytes) << row.name << " at bit " << prefix;
            EXPECT_EQ(wb * 8 + wbit, expected.pos) << row.name;
        }
    }
}

TEST(GoldenBytes, FieldValuesComeBackAtEveryOffset) {
    MSG_UpdatePlayer p;
    p.name = std::string("Player_\x80\xFF");
    p.position = D3DXVECTOR3{1.0f, -2.5f, 3.75f};
    p.velocity = D3DXVECTOR2{-0.125f, 9.5f};
    p.speedBoost = 511;
    p.airRun = 0.3f;
    p.score = -42;
    p.collisionFlag = 9;
    p.rolling = true;
    p.jumpTriggered = true;
    for (unsigned prefix = 0; prefix < 8; ++prefix) {
        std::vector<unsigned char> buf(128, 0);
        unsigned bytes = 0, bit = prefix;
        p.Serialize(buf.data(), bytes, bit);
        EXPECT_EQ(bytes * 8 + bit, prefix + 6 + p.Size());
        MSG_UpdatePlayer q;
        unsigned rb = 0, rbit = prefix;
        ASSERT_TRUE(q.Deserialize(buf.data(), buf.size(), rb, rbit));
        EXPECT_EQ(q.name.value, p.name.value);
        EXPECT_EQ(q.position.value, p.position.value);
        EXPECT_EQ(q.velocity.value, p.velocity.value);
        EXPECT_EQ(q.speedBoost.value, 511u);
        EXPECT_EQ(q.airRun.value, 0.3f);
        EXPECT_EQ(q.score.value, -42);
        EXPECT_EQ(q.collisionFlag.value, 9u);
        EXPECT_TRUE(q.rolling.value);
        EXPECT_FALSE(q.upPressed.value);
        EXPECT_TRUE(q.jumpTriggered.value);
        EXPECT_EQ(rb, bytes);
        EXPECT_EQ(rbit, bit);
    }
}

TEST(BoundedReading, RefusesWhatDoesNotFit) {
    MSG_DeleteObj named;
    named.name = "abc";
    std::vector<unsigned char> buf(16, 0);
    unsigned bytes = 0, bit = 0;
    named.Serialize(buf.data(), bytes, bit);
    // Without its terminating 0 inside the data the string is not read.
    MSG_DeleteObj cut;
    unsigned rb = 0, rbit = 0;
    EXPECT_FALSE(cut.Deserialize(buf.data(), 4, rb, rbit));

    // A list count above 325 is refused.
    Bits b;
    b.u(18, 6).u(326, 9);
    for (int i = 0; i < 326; ++i) b.i32(i);
    b.u(1, 23);
    MSG_LevelData big;
    rb = 0;
    rbit = 0;
    EXPECT_FALSE(big.Deserialize(b.bytes.data(), b.bytes.size(), rb, rbit));
}
