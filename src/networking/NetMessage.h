#pragma once
// The message family: every message type T derives from GeneralNetMessage<T>,
// which gives it its type id, its factory and the operations that measure,
// write, read and release it by walking its field members in declaration
// order. The ids come from the order of MessageTypes below, which is part of
// the wire protocol: both ends run the same program, so they agree.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Vector.h"
#include "networking/BitStream.h"

namespace Networking {

class NetEngine;

// ---------------------------------------------------------------- fields

class BaseNetMember {
public:
    BaseNetMember();
    BaseNetMember(const BaseNetMember&) noexcept {}
    BaseNetMember& operator=(const BaseNetMember&) noexcept { return *this; }
    virtual ~BaseNetMember() = default;

    virtual void Serialize(BitWriter& out) const = 0;
    // False when the stream ended or held a value this field cannot take.
    virtual bool Deserialize(BitReader& in) = 0;
    virtual unsigned int Size() const = 0;
    virtual void Free() {}

    // The same at (current byte, byte count, bit index) positions; reading is
    // bounded by the bytes available from data.
    void Serialize(unsigned char* data, unsigned int& bytes, unsigned int& bit) const;
    bool Deserialize(const unsigned char* data, std::size_t available, unsigned int& bytes, unsigned int& bit);
};

// Used while a message type learns where its fields lie: every member built
// while a recorder is set appends its own address.
void SetMemberRecorder(std::vector<const BaseNetMember*>* recorder);

// An unsigned value written in FieldWidth(Min, Max) bits; only the low bits travel.
template <std::uint32_t Min, std::uint32_t Max>
class NetUInt : public BaseNetMember {
public:
    using BaseNetMember::Deserialize;
    using BaseNetMember::Serialize;
    static constexpr unsigned Width = FieldWidth(Min, Max);
    NetUInt() = default;
    NetUInt(std::uint32_t v) : value(v) {}
    NetUInt& operator=(std::uint32_t v) {
        value = v;
        return *this;
    }
    operator std::uint32_t() const { return value; }

    void Serialize(BitWriter& out) const override {
        out.Write(Width >= 32 ? value : value & ((std::uint32_t(1) << Width) - 1u), Width);
    }
    bool Deserialize(BitReader& in) override {
        value = in.Read(Width);
        return !in.Failed();
    }
    unsigned int Size() const override { return Width; }

    std::uint32_t value = 0;
};

// A value copied as its little-endian memory image (int, float, D3DXVECTOR2, D3DXVECTOR3).
template <class T>
class NetType : public BaseNetMember {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    using BaseNetMember::Deserialize;
    using BaseNetMember::Serialize;
    NetType() = default;
    NetType(const T& v) : value(v) {}
    NetType& operator=(const T& v) {
        value = v;
        return *this;
    }
    operator const T&() const { return value; }

    void Serialize(BitWriter& out) const override {
        unsigned char image[sizeof(T)];
        std::memcpy(image, &value, sizeof(T));
        out.WriteBytes(image, sizeof(T));
    }
    bool Deserialize(BitReader& in) override {
        unsigned char image[sizeof(T)];
        if (!in.ReadBytes(image, sizeof(T))) return false;
        std::memcpy(&value, image, sizeof(T));
        return true;
    }
    unsigned int Size() const override { return unsigned(sizeof(T) * 8); }

    T value{};
};

// Characters as 8-bit codes, then a 0. A string is cut at its first 0.
class NetString : public BaseNetMember {
public:
    using BaseNetMember::Deserialize;
    using BaseNetMember::Serialize;
    NetString() = default;
    NetString(std::string v) : value(std::move(v)) {}
    NetString& operator=(const std::string& v) {
        value = v;
        return *this;
    }
    operator const std::string&() const { return value; }

    void Serialize(BitWriter& out) const override;
    // Fails when no 0 ends the string inside the stream.
    bool Deserialize(BitReader& in) override;
    unsigned int Size() const override;

    std::string value;
};

class NetBool : public BaseNetMember {
public:
    using BaseNetMember::Deserialize;
    using BaseNetMember::Serialize;
    NetBool() = default;
    NetBool(bool v) : value(v) {}
    NetBool& operator=(bool v) {
        value = v;
        return *this;
    }
    operator bool() const { return value; }

    void Serialize(BitWriter& out) const override { out.Write(value ? 1u : 0u, 1); }
    bool Deserialize(BitReader& in) override {
        value = in.Read(1) != 0;
        return !in.Failed();
    }
    unsigned int Size() const override { return 1; }

    bool value = false;
};

// The element count in FieldWidth(0, MaxCount) bits, then every element. At
// most MaxCount elements are written; a longer count read back is refused.
template <class T, unsigned MaxCount>
class NetTypeList : public BaseNetMember {
public:
    using BaseNetMember::Deserialize;
    using BaseNetMember::Serialize;
    static constexpr unsigned CountWidth = FieldWidth(0, MaxCount);

    void Serialize(BitWriter& out) const override {
        std::size_t n = Count();
        out.Write(std::uint32_t(n), CountWidth);
        for (std::size_t i = 0; i < n; ++i) {
            unsigned char image[sizeof(T)];
            std::memcpy(image, &value[i], sizeof(T));
            out.WriteBytes(image, sizeof(T));
        }
    }
    bool Deserialize(BitReader& in) override {
        std::uint32_t n = in.Read(CountWidth);
        if (in.Failed() || n > MaxCount || std::size_t(n) * sizeof(T) * 8 > in.Remaining()) {
            in.Fail();
            return false;
        }
        for (std::uint32_t i = 0; i < n; ++i) {
            unsigned char image[sizeof(T)];
            in.ReadBytes(image, sizeof(T));
            T v;
            std::memcpy(&v, image, sizeof(T));
            value.push_back(v);
        }
        return true;
    }
    unsigned int Size() const override { return CountWidth + unsigned(Count() * sizeof(T) * 8); }

    std::vector<T> value;

private:
    std::size_t Count() const { return value.size() < MaxCount ? value.size() : MaxCount; }
};

// ---------------------------------------------------------------- messages

class BaseNetMessage {
public:
    // The id field covers 0 to 63; at most 63 types exist (ids 0 to 62).
    static constexpr unsigned int MAX_NUM_MSGS = 63;
    static constexpr unsigned int ID_BITS = FieldWidth(0, MAX_NUM_MSGS);

    explicit BaseNetMessage(unsigned int id) : typeId(id) {}
    BaseNetMessage(const BaseNetMessage&) = default;
    BaseNetMessage& operator=(const BaseNetMessage&) = default;
    virtual ~BaseNetMessage() = default;

    // The 6-bit id, then the fields.
    virtual void Serialize(BitWriter& out) const = 0;
    // Reads the id and the fields; false when the stream ran out or held a
    // field this message cannot take (the message is then incomplete).
    virtual bool Deserialize(BitReader& in) = 0;
    virtual void CallBack(NetEngine& engine) = 0;
    // Bits of the fields, without the id.
    virtual unsigned int Size() const = 0;
    virtual void Free() = 0;

    // At (current byte, caller's byte count, bit index): the caller's count grows
    // by the whole bytes crossed and the bit index becomes the new one.
    void Serialize(unsigned char* data, unsigned int& bytes, unsigned int& bit) const;
    // The same for reading, bounded by the bytes available from data.
    bool Deserialize(const unsigned char* data, std::size_t available, unsigned int& bytes, unsigned int& bit);

    unsigned int typeId;
    std::uint8_t sender = 0;
};

// Every message type in registration order; the index is the type's id.
template <class... Ts>
struct TypeList {
    static constexpr unsigned Count = sizeof...(Ts);
};

template <class T, class List>
struct IndexOf;
template <class T, class... Rest>
struct IndexOf<T, TypeList<T, Rest...>> {
    static constexpr unsigned value = 0;
};
template <class T, class First, class... Rest>
struct IndexOf<T, TypeList<First, Rest...>> {
    static constexpr unsigned value = 1 + IndexOf<T, TypeList<Rest...>>::value;
};

namespace NetMessage {
class MSG_ServerInfo;
class MSG_Finished;
class MSG_Explode;
class MSG_RemoveTerrain;
class MSG_BreakTerrain;
class MSG_GrabPlayer;
class MSG_CancelGrab;
class MSG_DeleteObj;
class MSG_DropObj;
class MSG_Sync;
class MSG_CollectShard;
class MSG_CollectFireFly;
class MSG_CollectMoonRock;
class MSG_ChangeLevel;
class MSG_LoadLevel;
class MSG_NextLevel;
class MSG_GameRules;
class MSG_RequestLevel;
class MSG_LevelData;
class MSG_CreateNetObj;
class MSG_SendCreateMsg;
class MSG_UpdatePlayer;
class MSG_Throw;
class MSG_SetClientInfo;
class MSG_SetCheckPoint;
class MSG_ChangeScore;
class MSG_AnimateSpring;
}  // namespace NetMessage
namespace PrivateNetMessage {
class PMSG_Ack;
class PMSG_ConfirmConnect;
class PMSG_Pong;
class PMSG_Ping;
class PMSG_SetClientID;
class PMSG_SetRTT;
}  // namespace PrivateNetMessage

using MessageTypes = TypeList<
    NetMessage::MSG_ServerInfo, NetMessage::MSG_Finished, NetMessage::MSG_Explode, NetMessage::MSG_RemoveTerrain,
    NetMessage::MSG_BreakTerrain, NetMessage::MSG_GrabPlayer, NetMessage::MSG_CancelGrab, NetMessage::MSG_DeleteObj,
    NetMessage::MSG_DropObj, NetMessage::MSG_Sync, NetMessage::MSG_CollectShard, NetMessage::MSG_CollectFireFly,
    NetMessage::MSG_CollectMoonRock, NetMessage::MSG_ChangeLevel, NetMessage::MSG_LoadLevel, NetMessage::MSG_NextLevel,
    NetMessage::MSG_GameRules, NetMessage::MSG_RequestLevel, NetMessage::MSG_LevelData, NetMessage::MSG_CreateNetObj,
    NetMessage::MSG_SendCreateMsg, NetMessage::MSG_UpdatePlayer, NetMessage::MSG_Throw, NetMessage::MSG_SetClientInfo,
    NetMessage::MSG_SetCheckPoint, NetMessage::MSG_ChangeScore, NetMessage::MSG_AnimateSpring,
    PrivateNetMessage::PMSG_Ack, PrivateNetMessage::PMSG_ConfirmConnect, PrivateNetMessage::PMSG_Pong,
    PrivateNetMessage::PMSG_Ping, PrivateNetMessage::PMSG_SetClientID, PrivateNetMessage::PMSG_SetRTT>;
static_assert(MessageTypes::Count <= BaseNetMessage::MAX_NUM_MSGS, "at most 63 message types can exist");

using MessageCreate = BaseNetMessage* (*)();
// The factories and short names of all types, indexed by type id.
const std::vector<MessageCreate>& MessageFactoryTable();
const std::vector<std::string>& MessageNameTable();
// The name of a type id for log lines ("?" for an id that names no type).
const char* MessageName(unsigned int id);

// Records the byte offsets of T's field members by building one T.
template <class T>
std::vector<unsigned int> RecordMemberOffsets() {
    std::vector<const BaseNetMember*> addresses;
    SetMemberRecorder(&addresses);
    std::vector<unsigned int> offsets;
    {
        T probe;
        SetMemberRecorder(nullptr);
        const auto* base = reinterpret_cast<const unsigned char*>(&probe);
        for (const BaseNetMember* m : addresses)
            offsets.push_back(unsigned(reinterpret_cast<const unsigned char*>(m) - base));
    }
    return offsets;
}

template <class T>
class GeneralNetMessage : public BaseNetMessage {
public:
    static constexpr unsigned int MSG_ID = IndexOf<T, MessageTypes>::value;

    GeneralNetMessage() : BaseNetMessage(MSG_ID) {}
    GeneralNetMessage(const GeneralNetMessage&) = default;
    GeneralNetMessage& operator=(const GeneralNetMessage&) = default;

    static BaseNetMessage* Create() { return new T(); }

    // Byte offsets of T's field members within a T, in declaration order.
    // Made once and never taken apart: messages are freed until the very end
    // of the program (a global engine's queue among them), whatever order
    // statics are destroyed in.
    static const std::vector<unsigned int>& GetMemberOffset() {
        static const std::vector<unsigned int>* const offsets = new std::vector<unsigned int>(RecordMemberOffsets<T>());
        return *offsets;
    }

    unsigned int Size() const override {
        unsigned int bits = 0;
        for (unsigned int off : GetMemberOffset()) bits += Member(off).Size();
        return bits;
    }
    void Serialize(BitWriter& out) const override {
        out.Write(typeId, ID_BITS);
        for (unsigned int off : GetMemberOffset()) Member(off).Serialize(out);
    }
    bool Deserialize(BitReader& in) override {
        typeId = in.Read(ID_BITS);
        if (in.Failed()) return false;
        for (unsigned int off : GetMemberOffset())
            if (!MutableMember(off).Deserialize(in)) return false;
        return true;
    }
    void Free() override {
        for (unsigned int off : GetMemberOffset()) MutableMember(off).Free();
    }
    using BaseNetMessage::Deserialize;
    using BaseNetMessage::Serialize;

private:
    const BaseNetMember& Member(unsigned int off) const {
        return *reinterpret_cast<const BaseNetMember*>(
            reinterpret_cast<const unsigned char*>(static_cast<const T*>(this)) + off);
    }
    BaseNetMember& MutableMember(unsigned int off) {
        return *reinterpret_cast<BaseNetMember*>(reinterpret_cast<unsigned char*>(static_cast<T*>(this)) + off);
    }
};

}  // namespace Networking
