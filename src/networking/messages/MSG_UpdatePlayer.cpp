#include "networking/messages/MSG_UpdatePlayer.h"

#include <atomic>
#include <map>
#include <string>

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

namespace {
struct Flag {
    int number;
    NetBool MSG_UpdatePlayer::*field;
};
constexpr Flag kFlags[] = {
    {enum_rolling, &MSG_UpdatePlayer::rolling},
    {enum_upPressed, &MSG_UpdatePlayer::upPressed},
    {enum_downPressed, &MSG_UpdatePlayer::downPressed},
    {enum_rightPressed, &MSG_UpdatePlayer::rightPressed},
    {enum_leftPressed, &MSG_UpdatePlayer::leftPressed},
    {enum_grabPressed, &MSG_UpdatePlayer::grabPressed},
    {enum_grabTriggered, &MSG_UpdatePlayer::grabTriggered},
    {enum_jumpPressed, &MSG_UpdatePlayer::jumpPressed},
    {enum_jumpTriggered, &MSG_UpdatePlayer::jumpTriggered},
};
}  // namespace

void MSG_UpdatePlayer::Stamp() {
    static std::atomic<std::uint32_t> last{0};
    std::uint32_t n = (last.fetch_add(1) + 1) & 0xFFFFu;
    if (n == 0) n = (last.fetch_add(1) + 1) & 0xFFFFu;  // 0 means "not numbered"
    snapshot = n;
}

MSG_UpdatePlayer::MSG_UpdatePlayer(Entity* e) {
    Stamp();
    if (e == nullptr) return;
    name = e->GetName();
    if (auto* v = Var<D3DXVECTOR3>(e, enum_position)) position = *v;
    if (auto* v = Var<D3DXVECTOR2>(e, enum_velocity)) velocity = *v;
    if (float* v = Var<float>(e, enum_spdBoost)) {
        // Truncated towards zero; the field holds 0 to 511 (NaN counts as 0).
        const float boost = *v;
        speedBoost = boost >= 511.0f ? 511u : boost > 0.0f ? static_cast<std::uint32_t>(boost) : 0u;
    }
    if (float* v = Var<float>(e, enum_airRun)) airRun = *v;
    if (int* v = Var<int>(e, enum_score)) score = *v;
    if (int* v = Var<int>(e, enum_collisionflag)) collisionFlag = static_cast<std::uint32_t>(*v) & 15u;
    for (const Flag& f : kFlags)
        if (bool* v = Var<bool>(e, f.number)) this->*f.field = *v;
}

namespace {
// The newest snapshot applied to each name, with the entity it went to (a new
// entity of the same name starts afresh). Game thread only.
struct Applied {
    Entity* entity = nullptr;
    std::uint16_t snapshot = 0;
};
std::map<std::string, Applied>& AppliedSnapshots() {
    static auto* applied = new std::map<std::string, Applied>();
    return *applied;
}

// Numbers this far behind the last one applied are a sender that started
// counting again (a machine that rejoined), not a late copy.
constexpr int kRestartDistance = 1024;

// Whether the snapshot is older than, or the same as, the last applied to the entity.
bool Stale(const std::string& name, Entity* e, std::uint32_t number) {
    if (number == 0) return false;
    Applied& last = AppliedSnapshots()[name];
    if (last.entity == e && last.snapshot != 0) {
        const auto behind = static_cast<std::int16_t>(static_cast<std::uint16_t>(number - last.snapshot));
        if (behind <= 0 && behind > -kRestartDistance) return true;
    }
    last.entity = e;
    last.snapshot = static_cast<std::uint16_t>(number);
    return false;
}
}  // namespace

void MSG_UpdatePlayer::CallBack(NetEngine& engine) {
    Entity* e = FindEntity(name);
    // A copy, or a snapshot overtaken by a newer one, would move the entity
    // back: it is dropped here and not passed on.
    if (Stale(name, e, snapshot.value)) return;
    if (e != nullptr) {
        if (auto* v = Var<D3DXVECTOR3>(e, enum_position)) *v = position;
        if (auto* v = Var<D3DXVECTOR2>(e, enum_cameraPosition)) *v = D3DXVECTOR2(position.value.x, position.value.y);
        if (auto* v = Var<D3DXVECTOR2>(e, enum_velocity)) *v = velocity;
        if (float* v = Var<float>(e, enum_spdBoost)) *v = static_cast<float>(speedBoost.value);
        if (float* v = Var<float>(e, enum_airRun)) *v = airRun;
        if (int* v = Var<int>(e, enum_score)) *v = score;
        for (const Flag& f : kFlags)
            if (bool* v = Var<bool>(e, f.number)) *v = (this->*f.field).value;
        if (int* v = Var<int>(e, enum_collisionflag)) *v = static_cast<int>(collisionFlag.value);
    }
    // The one message passed on unreliably: a newer snapshot follows soon.
    Relay(engine, *this, false);
}

}  // namespace Networking::NetMessage
