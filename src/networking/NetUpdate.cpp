// The per-frame update: received messages, sync points, the bytes-per-second
// meter, discovery, the server's ping and flow control, time-outs, resends and
// the connect retry, and last the sending of every waiting pack.
#include <algorithm>

#include "framework/Time.h"
#include "networking/Messages.h"
#include "networking/NetEngine.h"

namespace Networking {

void NetEngine::Update(unsigned int ms) {
    frameTime = ms;
    ExecuteMessages();
    UpdateSyncEvents();
    CalcBPS();
    BroadcastServer();
    UpdateServer();
    UpdateClients();
    ListenForServer();
    SendAllMessages();
}

// ---------------------------------------------------------------- sync points

void NetEngine::AddSyncEvent(const std::string& name, const std::string& eventName, int timeLeft) {
    syncEvents.push_back(SyncEvent{name, eventName, timeLeft, {}});
}

void NetEngine::AddHandOverPoint(const std::string& name, const std::string& eventName, int timeLeft) {
    for (SyncEvent& e : syncEvents) {
        if (e.name == name) {
            e.handOver = true;
            return;
        }
    }
    syncEvents.push_back(SyncEvent{name, eventName, timeLeft, {}, true});
}

void NetEngine::SendSync(const std::string& name) {
    if (IsServer()) {
        SetSync(name, 0);
        return;
    }
    if (IsClient()) {
        NetMessage::MSG_Sync sync(name);
        PrivateSendNetMessage(sync, true, false);
    }
}

void NetEngine::SetSync(const std::string& name, unsigned int id) {
    for (SyncEvent& e : syncEvents) {
        if (e.name == name) {
            e.arrived.push_back(id);
            return;
        }
    }
}

void NetEngine::UpdateSyncEvents() {
    std::vector<unsigned int> clients = GetClientList();
    for (auto it = syncEvents.begin(); it != syncEvents.end(); ++it) {
        bool complete = std::all_of(clients.begin(), clients.end(), [&](unsigned int id) {
            return std::find(it->arrived.begin(), it->arrived.end(), id) != it->arrived.end();
        });
        if (complete) {
            std::string eventName = it->eventName;
            syncEvents.erase(it);
            if (raiseEvent) raiseEvent(eventName);
            break;
        }
    }
    for (auto it = syncEvents.begin(); it != syncEvents.end(); ++it) {
        it->timeLeft -= int(frameTime);
        if (it->timeLeft < 0) {
            const SyncEvent late = *it;
            syncEvents.erase(it);
            if (late.handOver) {
                for (unsigned int id : GetClientList())
                    if (id != 0 && std::find(late.arrived.begin(), late.arrived.end(), id) == late.arrived.end())
                        KillClient(id);
                if (raiseEvent) raiseEvent(late.eventName);
            }
            break;
        }
    }
}

// ---------------------------------------------------------------- meter and ping

void NetEngine::CalcBPS() {
    unsigned int sum = 0;
    for (const auto& s : sentBytes) sum += s.load();
    if (IsServer()) sum += 330;
    bytesPerSecond = sum;
    sentUnmetered = 0;
    unsigned int next = (ringIndex.load() + 1) % 60;
    sentBytes[next] = 0;
    ringIndex = next;
}

std::uint16_t NetEngine::NewPing() {
    std::uint16_t n = static_cast<std::uint16_t>(pingNumber.load() + 1);
    pingSentTime = TimeGetTime();
    pingNumber = n;
    return n;
}

void NetEngine::SendPing() {
    PrivateNetMessage::PMSG_Ping ping(NewPing());
    SendNetMessageNow(ping);
}

void NetEngine::SendKeepAlive() {
    SendPing();
    SendAllMessages();
}

void NetEngine::UpdateServer() {
    if (!IsServer()) return;
    pingTimer += int(frameTime);
    if (pingTimer > 200) {
        pingTimer = 0;
        SendPing();
        for (unsigned int i = 1; i <= config.maxClients; ++i) {
            unsigned int rtt;
            {
                std::lock_guard hold(slots[i].lock);
                if (!slots[i].inUse) continue;
                rtt = slots[i].rtt;
            }
            PrivateNetMessage::PMSG_SetRTT message(rtt);
            PrivateSendNetMessageToClient(static_cast<unsigned char>(i), message, false, false);
        }
    }
    flowTimer -= int(frameTime);
    if (flowTimer <= 0) {
        flowTimer = 500;
        unsigned int flow = flowLimit.load();
        if (averageRTT >= 501)
            flow = std::max(16u, flow / 2);
        else if (averageRTT <= 1)
            flow = std::min(config.sendBudget, flow * 2);
        flowLimit = flow;
    }
}

// ---------------------------------------------------------------- time-outs

// A peer is timed out after the time-out of silence, measured on the clock
// from the last datagram the receiving side heard from it: neither a slow
// frame nor a slow game thread counts against a peer whose datagrams arrive.
bool NetEngine::TimedOut(Client& slot) {
    const auto silence = static_cast<std::int32_t>(TimeGetTime() - slot.lastHeard.load());
    slot.timeLeft = config.timeOut - std::max(silence, 0);
    return slot.timeLeft < 0;
}

void NetEngine::UpdateClients() {
    if (!hosting.load() && numClients.load() == 0) {
        bool timedOut = false;
        bool retry = false;
        {
            Client& server = slots[0];
            std::lock_guard hold(server.lock);
            if (server.inUse) {
                averageRTT = server.rtt;
                if (TimedOut(server)) {
                    timedOut = true;  // dropped below, once the slot's lock is released
                } else {
                    ResendDue(server);
                    // Until the server gives an id the connection words go
                    // again now and then: a lost word, or a server that was
                    // full, must not leave the client waiting for nothing.
                    if (server.connecting) {
                        connectRetryTimer -= int(frameTime);
                        retry = connectRetryTimer <= 0;
                    }
                }
            } else if (server.connecting) {
                connectRetryTimer -= int(frameTime);
                retry = connectRetryTimer <= 0;
            }
        }
        if (timedOut) {
            Disconnect();
            if (onKillServer) onKillServer();
        } else if (retry) {
            SendConnectMessage();
        }
        return;
    }

    unsigned int live = 0, counted = 0, rttSum = 0;
    std::vector<unsigned char> announced, killed;
    for (unsigned int i = 1; i <= config.maxClients; ++i) {
        Client& slot = slots[i];
        std::lock_guard hold(slot.lock);
        if (!slot.inUse) continue;
        ++counted;
        rttSum += slot.rtt;
        if (!TimedOut(slot)) {
            ++live;
            if (slot.isNew && !slot.connecting) {
                slot.isNew = false;
                mostRecentClient = static_cast<unsigned char>(i);
                announced.push_back(static_cast<unsigned char>(i));
            }
            ResendDue(slot);
        } else {
            slot.Kill();
            killed.push_back(static_cast<unsigned char>(i));
        }
    }
    numClients = static_cast<unsigned char>(live);
    if (counted > 0) averageRTT = rttSum / counted;
    // Game code is called back only after every slot lock is released.
    for (unsigned char id : announced) {
        Log("** New client with ID %d\n", int(id));
        if (onNewClient) onNewClient(static_cast<char>(id));
    }
    for (unsigned char id : killed) {
        Log("** Killing client with ID %d\n", int(id));
        if (onKillClient) onKillClient(static_cast<char>(id));
    }
    if (live == 0 && !hosting.load()) Disconnect();
}

}  // namespace Networking
