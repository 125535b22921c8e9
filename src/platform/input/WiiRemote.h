#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "platform/input/WiiTransport.h"

class wiimote;

// The game's side of the Wii remote: it owns the driver and the connection
// thread, answers the button queries (the directions are those of the remote
// held sideways) and asks for timed rumble. Every query is false, and Bits 0,
// while the Wii-remote switch is off.
class WiiRemote_ {
public:
    // The game's switches that the remote obeys. Start-up points them at the
    // game entity's variables and the sound engine; until then the remote is
    // on, rumble is allowed and sound is not paused.
    struct Switches {
        bool (*wiiControls)() = nullptr;  // the Wii remote is in use
        bool (*rumbleOn)() = nullptr;     // rumble is allowed
        bool (*soundPaused)() = nullptr;  // the sound engine is paused
    };
    static void SetSwitches(const Switches& switches);
    static bool WiiControlsOn();
    // Whether a rumble request may take effect now (rumble, the remote and no pause).
    static bool RumbleAllowed();

    WiiRemote_() = default;
    ~WiiRemote_() { Free(); }
    WiiRemote_(const WiiRemote_&) = delete;
    WiiRemote_& operator=(const WiiRemote_&) = delete;

    // Creates the driver and starts the connection thread; a null finder
    // means the hidapi one. Returns true.
    bool Init(std::unique_ptr<WiiDeviceFinder> finder = nullptr);
    // Copies the driver's gathered state into the game's copy (input thread).
    void Update();
    // Stops the connection thread (waiting up to 3000 ms), disconnects and
    // deletes the driver.
    void Free();
    // Rumbles for ms when the switches allow it and the remote is connected.
    void Rumble(unsigned ms);

    bool Connected() const;
    std::uint16_t Bits() const;
    bool A() const { return Test(0x0800); }
    bool B() const { return Test(0x0400); }
    bool Up() const { return Test(0x0002); }
    bool Down() const { return Test(0x0001); }
    bool Left() const { return Test(0x0008); }
    bool Right() const { return Test(0x0004); }
    bool One() const { return Test(0x0200); }
    bool Two() const { return Test(0x0100); }
    bool Plus() const { return Test(0x0010); }
    bool Minus() const { return Test(0x1000); }
    bool Home() const { return Test(0x8000); }

    // The driver while one exists (null before Init and after Free).
    wiimote* Driver() const { return driver_.load(); }

private:
    bool Test(std::uint16_t bit) const { return (Bits() & bit) != 0; }
    static void WiiRemoteConnectThread(WiiRemote_* self);

    std::atomic<wiimote*> driver_{nullptr};
    std::thread connectThread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{true};
};

extern WiiRemote_ WiiRemote;

// The driver's timed rumble on WiiRemote's remote, without the switches.
void WiimoteRumbleFor(unsigned ms);

// Points the input manager's remote hooks (start, poll, stop, button word) at
// WiiRemote; start-up calls it before the input manager starts.
void InstallWiiRemoteInputHooks();
