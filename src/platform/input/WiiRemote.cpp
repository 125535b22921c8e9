#include "platform/input/WiiRemote.h"

#include <algorithm>

#include "framework/Time.h"
#include "platform/input/InputHooks.h"
#include "platform/input/wiimote.h"

WiiRemote_ WiiRemote;

namespace {

constexpr std::uint32_t kConnectPeriodMs = 1000;
constexpr std::uint32_t kFreeWaitMs = 3000;
constexpr std::uint32_t kStopSliceMs = 50;

std::atomic<bool (*)()> wiiControlsSwitch{nullptr};
std::atomic<bool (*)()> rumbleOnSwitch{nullptr};
std::atomic<bool (*)()> soundPausedSwitch{nullptr};

bool Ask(const std::atomic<bool (*)()>& sw, bool byDefault) {
    bool (*fn)() = sw.load();
    return fn ? fn() : byDefault;
}

// Sleeps ms in short slices so that a stop request is seen soon.
void SleepUnlessStopped(std::uint32_t ms, const std::atomic<bool>& stop) {
    std::uint32_t start = TimeGetTime();
    while (!stop) {
        std::uint32_t elapsed = TimeGetTime() - start;
        if (elapsed >= ms) return;
        SleepMs(std::min(kStopSliceMs, ms - elapsed));
    }
}

}  // namespace

void WiiRemote_::SetSwitches(const Switches& switches) {
    wiiControlsSwitch = switches.wiiControls;
    rumbleOnSwitch = switches.rumbleOn;
    soundPausedSwitch = switches.soundPaused;
}

bool WiiRemote_::WiiControlsOn() { return Ask(wiiControlsSwitch, true); }

bool WiiRemote_::RumbleAllowed() {
    return Ask(rumbleOnSwitch, true) && Ask(wiiControlsSwitch, true) && !Ask(soundPausedSwitch, false);
}

bool WiiRemote_::Init(std::unique_ptr<WiiDeviceFinder> finder) {
    if (driver_.load()) return true;
    driver_ = new wiimote(std::move(finder));
    stop_ = false;
    finished_ = false;
    connectThread_ = std::thread(&WiiRemote_::WiiRemoteConnectThread, this);
    return true;
}

void WiiRemote_::Update() {
    if (wiimote* d = driver_.load()) d->RefreshState();
}

void WiiRemote_::Free() {
    stop_ = true;
    bool ended = true;
    if (connectThread_.joinable()) {
        std::uint32_t start = TimeGetTime();
        while (!finished_ && TimeGetTime() - start < kFreeWaitMs) SleepMs(1);
        ended = finished_;
        if (ended)
            connectThread_.join();
        else
            connectThread_.detach();
    }
    wiimote* d = driver_.exchange(nullptr);
    // A connection thread that did not end in time may still use the driver:
    // it is left to the end of the process rather than freed under it.
    if (d && ended) {
        d->Disconnect();
        delete d;
    }
}

void WiiRemote_::Rumble(unsigned ms) {
    if (!RumbleAllowed() || !Connected()) return;
    if (wiimote* d = driver_.load()) d->RumbleFor(ms);
}

bool WiiRemote_::Connected() const {
    wiimote* d = driver_.load();
    return d && d->IsConnected();
}

std::uint16_t WiiRemote_::Bits() const {
    if (!WiiControlsOn()) return 0;
    wiimote* d = driver_.load();
    return d ? d->GameButtons() : 0;
}

void WiiRemote_::WiiRemoteConnectThread(WiiRemote_* self) {
    wiimote* remote = self->driver_.load();
    bool seen = false;
    while (!self->stop_) {
        if (seen && remote->IsConnected()) {
            SleepUnlessStopped(kConnectPeriodMs, self->stop_);
            continue;
        }
        // One attempt every second until the remote answers.
        bool connected = false;
        while (!self->stop_) {
            std::uint32_t start = TimeGetTime();
            if ((connected = remote->Connect())) break;
            std::uint32_t spent = TimeGetTime() - start;
            if (spent < kConnectPeriodMs) SleepUnlessStopped(kConnectPeriodMs - spent, self->stop_);
        }
        if (!connected) break;
        seen = true;
        // Show the player that it worked: the first LED and a second of rumble.
        remote->SetLEDs(0x1);
        remote->RumbleFor(1000);
        SleepUnlessStopped(kConnectPeriodMs, self->stop_);
    }
    self->finished_ = true;
}

void WiimoteRumbleFor(unsigned ms) {
    if (wiimote* d = WiiRemote.Driver()) d->RumbleFor(ms);
}

void InstallWiiRemoteInputHooks() {
    inputHooks.remoteInit = [] { return WiiRemote.Init(); };
    inputHooks.remoteUpdate = [] { WiiRemote.Update(); };
    inputHooks.remoteFree = [] { WiiRemote.Free(); };
    inputHooks.remoteButtons = [] { return WiiRemote.Bits(); };
}
