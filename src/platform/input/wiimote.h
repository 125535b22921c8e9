#pragma once
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/input/WiiTransport.h"
#include "platform/input/wiimote_state.h"

// The Wii remote's HID driver. It finds the remote, reads its input reports
// on a reader thread into its own state copy, writes output reports (through
// a write thread and a ring when the transport needs control requests), keeps
// the rumble timer on a rumble thread, and hands the state to the game through
// RefreshState. The inherited wiimote_state is the game's copy.
//
// Locks: the state lock guards both state copies and the driver's fields
// below it; the write lock guards the write ring and the device writes. The
// state lock is always taken before the write lock, never the other way.
// Connect and Disconnect are called from one thread at a time.
class wiimote : public wiimote_state {
public:
    static constexpr std::size_t REPORT_LENGTH = 22;
    static constexpr unsigned WRITE_RING_SIZE = 128;
    static constexpr std::uint32_t DEFAULT_CALLBACK_FLAGS = 0x7FFFFFE;
    // How long a report waits for room in a full write ring before it is refused.
    static constexpr unsigned WRITE_QUEUE_WAIT_MS = 10;

    using state_changed_callback = void (*)(wiimote& remote, std::uint32_t changed);

    // A null finder means the hidapi one.
    explicit wiimote(std::unique_ptr<WiiDeviceFinder> finder = nullptr);
    virtual ~wiimote();
    wiimote(const wiimote&) = delete;
    wiimote& operator=(const wiimote&) = delete;

    // Finds and opens the remote and runs the handshake; true when it answered.
    bool Connect();
    // Stops the reader, resets the outputs, closes the device.
    void Disconnect();
    bool IsConnected() const { return connected_.load(); }

    void ResetReportMode();
    void SetLEDs(int bits);
    void RequestStatus();
    void ReadMemory(unsigned address, unsigned short size);
    void WriteMemoryByte(unsigned address, unsigned char value);
    // Copies the reader's state into the game's (keeping the game's dead
    // zones) when changes are pending; returns and clears them.
    std::uint32_t RefreshState();
    void WriteReport(const unsigned char* report);
    // Timed rumble: on until now + ms; a later call replaces the end time.
    void RumbleFor(unsigned ms);

    // The game copy's buttons word, safe to read from any thread.
    std::uint16_t GameButtons() const { return gameButtons_.load(std::memory_order_relaxed); }
    // Writes the six stick dead zones of the game's copy (Nunchuk x, y; left
    // stick x, y; right stick x, y); the decoders pick them up from there.
    void SetDeadZones(const float zones[6]);

    bool HidWriteMode() const { return hidWriteMode_.load(); }
    // Reports waiting in the write ring.
    unsigned QueuedWrites() const;
    // A copy of the reader thread's state, taken under the state lock.
    wiimote_state ReaderState() const;
    bool ExtensionBeingSetUp() const;
    bool MotionPlusDetected() const;
    bool MotionPlusActive() const;
    unsigned ReportingMode() const;

    // Called after a report whose changes meet CallbackTriggerFlags.
    virtual void ChangedNotifier(std::uint32_t /*changed*/) {}
    state_changed_callback ChangedCallback = nullptr;
    std::uint32_t CallbackTriggerFlags = DEFAULT_CALLBACK_FLAGS;

    // Formats one debug line (at most 255 characters) to the debug output.
    static void DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

    // Report decoding. ParseInput takes the state lock; the others run inside it.
    void ParseInput(const unsigned char* report);
    std::uint32_t ParseButtons(const unsigned char* report);
    std::uint32_t ParseStatus(const unsigned char* report);
    std::uint32_t ParseAccel(const unsigned char* report);
    bool EstimateOrientation(motion& record);
    static void ApplyDeadZone(joystick& stick);
    std::uint32_t ParseExtension(unsigned offset, const unsigned char* report);
    static float BalanceBoardKg(std::uint16_t raw, std::uint16_t kg0, std::uint16_t kg17, std::uint16_t kg34);
    std::uint32_t OnMemoryRead(const unsigned char* report);
    void InitExtension();
    void ProbeMotionPlus();
    void ReadCalibration();
    void DisableIR();

private:
    void Send(std::initializer_list<unsigned char> bytes);
    void SendNow(const unsigned char* report);
    void SetReportType(unsigned char mode);
    bool WaitForStatus(unsigned ms);
    bool BeginRead();
    bool StartWriteThread();
    void QueueHidWrite(const unsigned char* report);
    void ReaderDuties();
    int ReadTimeout() const;
    void Notify(std::uint32_t changed);
    void ReaderThread();
    void RumbleTimerThread();
    void HidWriteThread();

    std::unique_ptr<WiiDeviceFinder> finder_;
    std::unique_ptr<WiiTransport> transport_;  // changed only under the write lock, threads stopped

    mutable std::recursive_mutex stateLock_;
    wiimote_state Internal;  // the reader thread's copy
    std::uint32_t pendingChanges_ = 0;
    bool extensionSettingUp_ = false;
    bool motionPlusDetected_ = false;
    bool motionPlusActive_ = false;
    bool motionPlusExtension_ = false;
    bool tareRequested_ = false;
    std::uint32_t probesOutstanding_ = 0;
    std::uint32_t stillSamples_ = 0;
    std::uint32_t nextStatusTime_ = 0;
    std::uint32_t nextProbeTime_ = 0;
    unsigned reportingMode_ = 0x30;
    std::uint32_t rumbleEnd_ = 0;  // 0 = none
    bool rumbleRunning_ = false;
    std::thread rumbleThread_;

    std::atomic<bool> connected_{false};
    std::atomic<bool> badConnection_{false};
    std::atomic<bool> rumbleBit_{false};
    std::atomic<std::uint16_t> gameButtons_{0};
    std::atomic<bool> hidWriteMode_{false};

    std::atomic<bool> stopReader_{false};
    std::thread readerThread_;

    mutable std::recursive_mutex writeLock_;
    unsigned char ring_[WRITE_RING_SIZE][REPORT_LENGTH] = {};
    unsigned readIndex_ = 0, writeIndex_ = 0;
    bool stopWriter_ = false;
    bool writerRunning_ = false;
    std::thread writerThread_;
};
