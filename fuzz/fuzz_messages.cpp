// Every network message type read from arbitrary bits. The first byte picks
// the type; the rest is the stream after the type's id. A message that reads
// must write back exactly the bits its size announces, and what it writes
// must read again into the same bits.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "networking/Messages.h"

using namespace Networking;

namespace {

std::vector<unsigned char> Write(const BaseNetMessage& msg) {
    const std::size_t bits = BaseNetMessage::ID_BITS + msg.Size();
    std::vector<unsigned char> out((bits + 7) / 8 + 1, 0);
    BitWriter writer(out.data());
    msg.Serialize(writer);
    if (writer.Position() != bits) std::abort();  // Size() and Serialize disagree
    out.resize((bits + 7) / 8);
    return out;
}

void Release(BaseNetMessage* msg) {
    msg->Free();
    delete msg;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const auto& factories = MessageFactoryTable();
    const unsigned id = data[0] % unsigned(factories.size());

    // The id, then the input's remaining bytes.
    std::vector<unsigned char> stream((BaseNetMessage::ID_BITS + (size - 1) * 8 + 7) / 8, 0);
    BitWriter writer(stream.data());
    writer.Write(id, BaseNetMessage::ID_BITS);
    writer.WriteBytes(data + 1, size - 1);

    BaseNetMessage* first = factories[id]();
    BitReader in(stream.data(), stream.size());
    const bool read = first->Deserialize(in);
    if (read && in.Failed()) std::abort();  // read yet failed
    if (read) {
        std::vector<unsigned char> bytes = Write(*first);
        BaseNetMessage* second = factories[id]();
        BitReader again(bytes.data(), bytes.size());
        if (!second->Deserialize(again)) std::abort();  // what was written does not read
        if (Write(*second) != bytes) std::abort();      // nor reads back the same
        Release(second);
    }
    Release(first);
    return 0;
}
