#include "networking/NetMessage.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "networking/Messages.h"

namespace Networking {

namespace {
thread_local std::vector<const BaseNetMember*>* memberRecorder = nullptr;

// The readable class name cut after its last ':' (or its last blank).
std::string ShortName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                    std::free);
    std::string name = status == 0 && readable ? readable.get() : type.name();
    std::size_t cut = name.rfind(':');
    if (cut == std::string::npos) cut = name.rfind(' ');
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

struct Registry {
    std::vector<MessageCreate> factories;
    std::vector<std::string> names;

    template <class... Ts>
    void RegisterAll(TypeList<Ts...>) {
        (Register<Ts>(), ...);
    }
    template <class T>
    void Register() {
        factories.push_back(&GeneralNetMessage<T>::Create);
        names.push_back(ShortName(typeid(T)));
        (void)GeneralNetMessage<T>::GetMemberOffset();
    }
    Registry() { RegisterAll(MessageTypes{}); }
};

// Never taken apart, like the member tables: a message may be made or
// named until the program's very end.
const Registry& TheRegistry() {
    static const Registry* const registry = new Registry();
    return *registry;
}

// Every type registers during static initialisation, before any thread of the
// network layer exists.
[[maybe_unused]] const Registry& registeredAtStart = TheRegistry();
}  // namespace

BaseNetMember::BaseNetMember() {
    if (memberRecorder) memberRecorder->push_back(this);
}

void SetMemberRecorder(std::vector<const BaseNetMember*>* recorder) { memberRecorder = recorder; }

void BaseNetMember::Serialize(unsigned char* data, unsigned int& bytes, unsigned int& bit) const {
    BitWriter out(data, bit);
    Serialize(out);
    bytes += unsigned(out.Position() / 8);
    bit = unsigned(out.Position() % 8);
}

bool BaseNetMember::Deserialize(const unsigned char* data, std::size_t available, unsigned int& bytes,
                                unsigned int& bit) {
    BitReader in(data, available, bit);
    bool ok = Deserialize(in);
    bytes += unsigned(in.Position() / 8);
    bit = unsigned(in.Position() % 8);
    return ok;
}

void NetString::Serialize(BitWriter& out) const {
    for (char c : value) {
        if (c == '\0') break;
        out.Write(static_cast<unsigned char>(c), 8);
    }
    out.Write(0, 8);
}

bool NetString::Deserialize(BitReader& in) {
    value.clear();
    for (;;) {
        std::uint32_t c = in.Read(8);
        if (in.Failed()) return false;
        if (c == 0) return true;
        value.push_back(static_cast<char>(c));
    }
}

unsigned int NetString::Size() const {
    std::size_t len = value.find('\0');
    if (len == std::string::npos) len = value.size();
    return unsigned(8 * (len + 1));
}

void BaseNetMessage::Serialize(unsigned char* data, unsigned int& bytes, unsigned int& bit) const {
    BitWriter out(data, bit);
    Serialize(out);
    bytes += unsigned(out.Position() / 8);
    bit = unsigned(out.Position() % 8);
}

bool BaseNetMessage::Deserialize(const unsigned char* data, std::size_t available, unsigned int& bytes,
                                 unsigned int& bit) {
    BitReader in(data, available, bit);
    bool ok = Deserialize(in);
    bytes += unsigned(in.Position() / 8);
    bit = unsigned(in.Position() % 8);
    return ok;
}

const std::vector<MessageCreate>& MessageFactoryTable() { return TheRegistry().factories; }
const std::vector<std::string>& MessageNameTable() { return TheRegistry().names; }

const char* MessageName(unsigned int id) {
    const auto& names = MessageNameTable();
    return id < names.size() ? names[id].c_str() : "?";
}

}  // namespace Networking
