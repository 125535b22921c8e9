// Packs: how queued messages are gathered per slot, sent once per frame,
// numbered, acknowledged, resent and put back in order on arrival.
#include <algorithm>
#include <cstdio>

#include "framework/Fatal.h"
#include "networking/Messages.h"
#include "networking/NetEngine.h"
#include "networking/Permissions.h"

namespace Networking {

namespace {
using PrivateNetMessage::PMSG_Ack;

// Reliable packs this far ahead of the expected number are kept; farther ones
// are neither kept nor acknowledged (the sender resends them later).
constexpr int SEQUENCE_WINDOW = 1024;

constexpr unsigned int RELIABLE_HEADER_BITS = 17;  // reliable flag, 16-bit number
// What a pack adds to its messages' bytes: the count, the flags and the last byte.
constexpr unsigned int NEW_PACK_BYTES = 5;

// Would a message of `bits` bits (with its id) still leave the datagram within 1,400 bytes?
bool Fits(const MsgPack& pack, unsigned int bits) {
    return (BaseNetMessage::ID_BITS + bits + pack.bitIndex) / 8 + pack.byteIndex < MAX_PACK_BYTES;
}

void Append(MsgPack& pack, const BaseNetMessage& msg) {
    BitWriter out(pack.data + pack.byteIndex, pack.bitIndex);
    msg.Serialize(out);
    pack.byteIndex += unsigned(out.Position() / 8);
    pack.bitIndex = unsigned(out.Position() % 8);
    pack.SetCount(pack.Count() + 1);
}

void StartPack(MsgPack& pack, bool reliable, bool immediate, std::uint16_t sequence) {
    pack.reliable = reliable;
    pack.sequence = sequence;
    pack.SetCount(0);
    pack.byteIndex = 2;
    pack.bitIndex = 0;
    BitWriter out(pack.data + 2);
    out.Write(reliable ? 1 : 0, 1);
    if (reliable)
        out.Write(sequence, 16);
    else
        out.Write(immediate ? 1 : 0, 1);
    pack.byteIndex += unsigned(out.Position() / 8);
    pack.bitIndex = unsigned(out.Position() % 8);
}

// Messages the pack layer needs at once; they run on the receive thread.
bool RunsAtOnce(unsigned int id) {
    return id == PMSG_Ack::MSG_ID || id == PrivateNetMessage::PMSG_Ping::MSG_ID ||
           id == PrivateNetMessage::PMSG_Pong::MSG_ID;
}
}  // namespace

unsigned int NetEngine::ResendTime(unsigned int rtt) { return std::max(15u, unsigned(rtt * 1.2)); }

// ---------------------------------------------------------------- queueing

void NetEngine::PrivateSendNetMessageToClient(Client& slot, BaseNetMessage& msg, bool reliable, bool immediate) {
    unsigned int bits = msg.Size();
    // A fresh reliable pack has its first free bit at byte 4, bit 1; a message
    // that does not fit there fits no pack at all (a caller's error).
    if ((BaseNetMessage::ID_BITS + bits + RELIABLE_HEADER_BITS % 8) / 8 + 2 + RELIABLE_HEADER_BITS / 8 >=
        MAX_PACK_BYTES)
        FatalError("A network message is too large for one pack.", "Network Engine: ", 1);
    if (reliable) {
        Log("   * Sending %s RELIABLY to client %d.\n", MessageName(msg.typeId), int(slot.id));
        if (slot.reliablePacks.empty() || !Fits(*slot.reliablePacks.back(), bits)) {
            queuedUnsent += NEW_PACK_BYTES;
            auto pack = std::make_unique<MsgPack>(true);
            StartPack(*pack, true, false, slot.nextSequence);
            slot.nextSequence = static_cast<std::uint16_t>(slot.nextSequence + 1);
            slot.reliablePacks.push_back(std::move(pack));
        }
        Append(*slot.reliablePacks.back(), msg);
        queuedUnsent += (BaseNetMessage::ID_BITS + bits + 7) / 8;
        return;
    }
    Log("   * Sending %s NON-RELIABLY to client %d.\n", MessageName(msg.typeId), int(slot.id));
    // Over the flow limit, unreliable messages are dropped. Bytes queued or sent
    // since the meter was last read count too, so a frame cannot overshoot.
    MsgPack* target = nullptr;
    if (!immediate) {
        for (MsgPack& pack : slot.unreliablePacks) {
            if (Fits(pack, bits)) {
                target = &pack;
                break;
            }
        }
    }
    unsigned int needed = (BaseNetMessage::ID_BITS + bits + 7) / 8 + (target ? 0 : NEW_PACK_BYTES);
    if (bytesPerSecond.load() + sentUnmetered.load() + queuedUnsent.load() + needed > flowLimit.load()) return;
    queuedUnsent += needed;
    if (!target) {
        slot.unreliablePacks.emplace_back(false);
        target = &slot.unreliablePacks.back();
        StartPack(*target, false, immediate, 0);
    }
    Append(*target, msg);
}

void NetEngine::SendNetMessage(BaseNetMessage& msg, bool reliable) { PrivateSendNetMessage(msg, reliable, false); }

void NetEngine::PrivateSendNetMessage(BaseNetMessage& msg, bool reliable, bool immediate) {
    if (IsServer()) {
        PrivateSendToClients(msg, reliable, immediate);
        return;
    }
    std::lock_guard holdSend(sendLock);
    std::lock_guard holdSlot(slots[0].lock);
    // Nothing but the handshake leaves before the server has given an id.
    if (slots[0].inUse && !slots[0].connecting) PrivateSendNetMessageToClient(slots[0], msg, reliable, immediate);
}

void NetEngine::SendToClients(BaseNetMessage& msg, bool reliable) { PrivateSendToClients(msg, reliable, false); }

void NetEngine::PrivateSendToClients(BaseNetMessage& msg, bool reliable, bool immediate) {
    std::lock_guard holdSend(sendLock);
    for (unsigned int i = 1; i <= config.maxClients; ++i) {
        std::lock_guard holdSlot(slots[i].lock);
        if (slots[i].inUse) PrivateSendNetMessageToClient(slots[i], msg, reliable, immediate);
    }
}

void NetEngine::SendNetMessageToClient(unsigned char id, BaseNetMessage& msg, bool reliable) {
    PrivateSendNetMessageToClient(id, msg, reliable, false);
}

void NetEngine::PrivateSendNetMessageToClient(unsigned char id, BaseNetMessage& msg, bool reliable, bool immediate) {
    if (id > config.maxClients) return;
    std::lock_guard holdSend(sendLock);
    std::lock_guard holdSlot(slots[id].lock);
    if (slots[id].inUse) PrivateSendNetMessageToClient(slots[id], msg, reliable, immediate);
}

void NetEngine::SendNetMessageToClient(Client& slot, BaseNetMessage& msg, bool reliable) {
    PrivateSendNetMessageToClient(slot, msg, reliable, false);
}

void NetEngine::ForwardMessageFrom(unsigned int fromId, BaseNetMessage& msg, bool reliable) {
    std::lock_guard holdSend(sendLock);
    for (unsigned int i = 0; i <= config.maxClients; ++i) {
        if (i == fromId) continue;
        std::lock_guard holdSlot(slots[i].lock);
        if (slots[i].inUse) PrivateSendNetMessageToClient(slots[i], msg, reliable, false);
    }
}

// ---------------------------------------------------------------- sending

void NetEngine::SendPackTo(const Address& to, const MsgPack& pack) {
    // Every datagram on the game socket counts against the budget: packs,
    // resends, pings and pongs.
    sentBytes[ringIndex.load()] += pack.Length();
    sentUnmetered += pack.Length();
    int r = sendSocket.SendTo(to, reinterpret_cast<const char*>(pack.data), pack.Length());
    if (r == -2 || r == -3) std::printf("SOCKET FAILED\n");
}

void NetEngine::SendPack(Client& slot, const MsgPack& pack) { SendPackTo(slot.address, pack); }

void NetEngine::SendAlone(const Address& to, const BaseNetMessage& msg, std::uint16_t sequence) {
    MsgPack pack(true);
    StartPack(pack, true, false, sequence);
    Append(pack, msg);
    std::lock_guard holdSend(sendLock);
    SendPackTo(to, pack);
}

int NetEngine::SendAllMessages() {
    std::lock_guard holdSend(sendLock);
    bool client;
    {
        std::lock_guard hold(slots[0].lock);
        client = slots[0].inUse;
    }
    unsigned int first, last;
    if (client) {
        first = last = 0;
    } else if (IsServer()) {
        first = 1;
        last = config.maxClients;
    } else {
        return 0;
    }
    int sent = 0;
    for (unsigned int i = first; i <= last; ++i) {
        Client& slot = slots[i];
        std::lock_guard hold(slot.lock);
        if (!slot.inUse) continue;
        sent += int(slot.unreliablePacks.size() + slot.reliablePacks.size());
        for (const MsgPack& pack : slot.unreliablePacks) {
            if (client)
                Log(" * Sending NON-ACKING pack to server.\n\n");
            else
                Log(" * Sending NON-ACKING pack to client %d\n\n", int(i));
            SendPack(slot, pack);
        }
        slot.unreliablePacks.clear();
        for (auto& pack : slot.reliablePacks) {
            if (client)
                Log(" * Sending ACKING pack to server with S.N. %d\n\n", int(pack->sequence));
            else
                Log(" * Sending ACKING pack to client %d\n\n", int(i));
            slot.packsSent += 1;
            std::uint16_t seq = pack->sequence;
            MsgPack* raw = pack.release();
            slot.savedPacks.emplace_back(raw, int(ResendTime(slot.rtt)), seq);
            SendPack(slot, *raw);
        }
        slot.reliablePacks.clear();
    }
    queuedUnsent = 0;
    return sent;
}

void NetEngine::SendNetMessageNow(BaseNetMessage& msg) {
    MsgPack pack(false);
    StartPack(pack, false, true, 0);
    Append(pack, msg);
    Address to;
    bool client;
    {
        std::lock_guard hold(slots[0].lock);
        client = slots[0].inUse;
        to = slots[0].address;
    }
    if (client) {
        SendPackTo(to, pack);
        return;
    }
    if (!IsServer()) return;
    for (unsigned int i = 1; i <= config.maxClients; ++i) {
        bool inUse;
        {
            std::lock_guard hold(slots[i].lock);
            inUse = slots[i].inUse;
            to = slots[i].address;
        }
        if (inUse) SendPackTo(to, pack);
    }
}

void NetEngine::ResendDue(Client& slot) {
    for (SavedPack& saved : slot.savedPacks) {
        saved.resendTimer -= int(frameTime);
        if (saved.resendTimer < 0) {
            if (slot.id == 0)
                Log(" * Resending pack to server with S.N. %d\n", int(saved.sequence));
            else
                Log(" * Resending pack to client %d with S.N. %d\n", int(slot.id), int(saved.sequence));
            SendPack(slot, *saved.pack);
            slot.packsSent += 1;
            saved.resendTimer = int(ResendTime(slot.rtt));
        }
    }
}

void NetEngine::AckMsg(unsigned int seq, unsigned char slotId) {
    if (slotId > config.maxClients) return;
    Client& slot = slots[slotId];
    std::lock_guard hold(slot.lock);
    auto it = std::find_if(slot.savedPacks.begin(), slot.savedPacks.end(),
                           [seq](const SavedPack& s) { return s.sequence == seq; });
    // Only an acknowledgement that ends a resend counts: a duplicated one (the
    // network's copy, or the answer to a resend that crossed it) would make
    // more acknowledgements than packs sent.
    if (it != slot.savedPacks.end()) {
        slot.acksReceived += 1;
        slot.savedPacks.erase(it);
    }
    Log(" * Recvd ACK from client %d with S.N. %d.\n", int(slotId), int(seq));
}

// ---------------------------------------------------------------- receiving

void NetEngine::HandleNewPack(const unsigned char* data, unsigned char slotId, int length) {
    if (length < 3) return;
    bool reliable = data[2] & 1;
    std::vector<BaseNetMessage*> messages;
    if (!reliable) {
        if (ReadPack(data, length, messages)) Deliver(messages, slotId);
        return;
    }
    if (length < 5) return;  // too short to hold its sequence number
    BitReader header(data + 2, std::size_t(length) - 2);
    header.Read(1);
    std::uint16_t s = static_cast<std::uint16_t>(header.Read(16));
    // The whole pack is read before anything else: a damaged one is neither
    // acknowledged nor counted, so its sender resends it whole.
    if (!ReadPack(data, length, messages)) {
        Log(" * Recvd DAMAGED msg from client %d with S.N. %d\n", int(slotId), int(s));
        return;
    }
    auto discard = [](std::vector<BaseNetMessage*>& list) {
        for (BaseNetMessage* m : list) {
            m->Free();
            delete m;
        }
        list.clear();
    };

    std::vector<std::vector<unsigned char>> ready;
    {
        std::lock_guard holdSend(sendLock);  // the acknowledgement is queued like any message
        Client& slot = slots[slotId];
        std::lock_guard hold(slot.lock);
        if (!slot.inUse) {
            discard(messages);
            return;
        }
        std::int16_t d = static_cast<std::int16_t>(static_cast<std::uint16_t>(s - slot.expectedSequence));
        if (d >= SEQUENCE_WINDOW) {  // far ahead: neither kept nor acknowledged
            discard(messages);
            return;
        }
        PMSG_Ack ack(s);
        PrivateSendNetMessageToClient(slot, ack, false, true);
        if (d == 0) {
            Log(" * Recvd EXPECTED msg from client %d with S.N. %d\n", int(slotId), int(s));
            slot.expectedSequence = static_cast<std::uint16_t>(slot.expectedSequence + 1);
            for (;;) {
                auto it = std::find(slot.earlyPacks.begin(), slot.earlyPacks.end(), slot.expectedSequence);
                if (it == slot.earlyPacks.end()) break;
                ready.push_back(std::move(it->datagram));
                slot.earlyPacks.erase(it);
                slot.expectedSequence = static_cast<std::uint16_t>(slot.expectedSequence + 1);
            }
        } else {
            if (d > 0) {
                if (std::find(slot.earlyPacks.begin(), slot.earlyPacks.end(), s) == slot.earlyPacks.end())
                    slot.earlyPacks.push_back(PendingMsg{std::vector<unsigned char>(data, data + length), s});
                Log(" * Recvd msg too EARLY from client %d with S.N. %d\n", int(slotId), int(s));
            } else {
                Log(" * Recvd DUPLICATE msg from client %d with S.N. %d\n", int(slotId), int(s));
            }
            discard(messages);
            return;
        }
    }
    Deliver(messages, slotId);
    // Early packs were read whole before they were kept.
    for (const auto& datagram : ready)
        if (ReadPack(datagram.data(), int(datagram.size()), messages)) Deliver(messages, slotId);
}

bool NetEngine::ReadPack(const unsigned char* data, int length, std::vector<BaseNetMessage*>& out) const {
    out.clear();
    if (length < 3) return false;
    unsigned int count = unsigned(data[0]) | unsigned(data[1]) << 8;
    BitReader in(data + 2, std::size_t(length) - 2);
    bool reliable = in.Read(1) != 0;
    if (reliable)
        in.Read(16);
    else
        in.Read(1);
    const auto& factories = MessageFactoryTable();
    bool whole = !in.Failed();
    for (unsigned int i = 0; i < count && whole; ++i) {
        std::uint32_t id = in.Peek(BaseNetMessage::ID_BITS);
        if (in.Failed() || in.Remaining() < BaseNetMessage::ID_BITS || id >= factories.size()) {
            whole = false;
            break;
        }
        BaseNetMessage* msg = factories[id]();
        if (!msg->Deserialize(in)) {
            msg->Free();
            delete msg;  // cut short or malformed: the rest of the pack cannot be read
            whole = false;
            break;
        }
        out.push_back(msg);
    }
    if (whole) return true;
    for (BaseNetMessage* m : out) {
        m->Free();
        delete m;
    }
    out.clear();
    return false;
}

void NetEngine::Deliver(std::vector<BaseNetMessage*>& messages, unsigned char slotId) {
    int halfRtt;
    bool connecting;
    {
        std::lock_guard hold(slots[slotId].lock);
        halfRtt = int(slots[slotId].rtt / 2);
        connecting = slots[slotId].connecting;
    }
    for (BaseNetMessage* msg : messages) {
        msg->sender = slotId;
        // Checked here, before anything runs or is relayed: a peer whose
        // handshake is not complete is heard only for the handshake, and
        // every peer only for what its kind may say.
        if ((connecting && !PartOfHandshake(msg->typeId)) || !MayRun(*msg, slotId)) {
            Log("   * Refused %s from client %d.\n", MessageName(msg->typeId), int(slotId));
            msg->Free();
            delete msg;
            continue;
        }
        if (RunsAtOnce(msg->typeId)) {
            msg->CallBack(*this);
            msg->Free();
            delete msg;
        } else {
            arrived.emplace_back(msg, 0 - halfRtt);
        }
    }
    messages.clear();
}

void NetEngine::HandOver() {
    if (arrived.empty()) return;
    std::lock_guard hold(receivedLock);
    if (receivedMessages.empty())
        receivedMessages.swap(arrived);
    else
        receivedMessages.insert(receivedMessages.end(), arrived.begin(), arrived.end());
    arrived.clear();
}

int NetEngine::ExecuteMessages() {
    std::vector<BaseNetMessage*> due;
    int atEntry;
    {
        std::lock_guard hold(receivedLock);
        atEntry = int(receivedMessages.size());
        std::vector<DelayMsg> keep;
        for (DelayMsg& d : receivedMessages) {
            d.countdown -= int(frameTime);
            if (d.countdown < 1)
                due.push_back(d.message);
            else
                keep.push_back(d);
        }
        receivedMessages.swap(keep);
    }
    // Callbacks run without the received-message lock, so one that sends or
    // disconnects cannot stall the receive thread.
    for (BaseNetMessage* msg : due) {
        Log("   * Executing %s from client %d.\n", MessageName(msg->typeId), int(msg->sender));
        if (messageObserver) messageObserver(*msg);
        msg->CallBack(*this);
        msg->Free();
        delete msg;
    }
    return atEntry;
}

void NetEngine::SetSequenceNumbers(unsigned int id, std::uint16_t nextOutgoing, std::uint16_t expectedIncoming) {
    if (id > 15) return;
    std::lock_guard hold(slots[id].lock);
    slots[id].nextSequence = nextOutgoing;
    slots[id].expectedSequence = expectedIncoming;
}

void NetEngine::ClearMsgList() {
    std::lock_guard hold(receivedLock);
    for (DelayMsg& d : receivedMessages) {
        d.message->Free();
        delete d.message;
    }
    receivedMessages.clear();
}

}  // namespace Networking
