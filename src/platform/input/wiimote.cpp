// The driver's connection, output reports and threads. The decoding of input
// reports is in wiimote_decode.cpp.
#include "platform/input/wiimote.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "framework/Fatal.h"
#include "framework/Time.h"

namespace {

constexpr unsigned kStatusWaitMs = 500;
constexpr unsigned kDutyPeriodMs = 1000;
constexpr int kReadTimeoutMs = 500;

// True once the wrapping millisecond clock has reached t.
bool Reached(std::uint32_t now, std::uint32_t t) { return static_cast<std::int32_t>(now - t) >= 0; }

}  // namespace

wiimote::wiimote(std::unique_ptr<WiiDeviceFinder> finder)
    : finder_(finder ? std::move(finder) : MakeHidWiiDeviceFinder()) {}

wiimote::~wiimote() { Disconnect(); }

void wiimote::DebugPrint(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    DebugOutput(line);
}

bool wiimote::Connect() {
    if (transport_ || readerThread_.joinable()) Disconnect();
    std::unique_ptr<WiiTransport> device = finder_->OpenRemote();
    if (!device) return false;

    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        Internal.Clear();
        wiimote_state::Clear();
        pendingChanges_ = 0;
        extensionSettingUp_ = motionPlusDetected_ = motionPlusActive_ = motionPlusExtension_ = false;
        tareRequested_ = false;
        probesOutstanding_ = 0;
        stillSamples_ = 0;
        reportingMode_ = 0x30;
        rumbleEnd_ = 0;
        std::uint32_t now = TimeGetTime();
        nextStatusTime_ = nextProbeTime_ = now + kDutyPeriodMs;
        gameButtons_ = 0;
        rumbleBit_ = false;
    }
    badConnection_ = false;
    hidWriteMode_ = false;
    connected_ = false;
    {
        std::lock_guard<std::recursive_mutex> lock(writeLock_);
        transport_ = std::move(device);
        readIndex_ = writeIndex_ = 0;
    }
    if (!BeginRead()) {
        Disconnect();
        return false;
    }

    // Handshake: a status request on the data channel; a remote that only
    // takes control requests gets a second try that way.
    RequestStatus();
    bool answered = WaitForStatus(kStatusWaitMs);
    if (!answered && !badConnection_ && transport_->HasSetOutputReport()) {
        hidWriteMode_ = true;
        RequestStatus();
        answered = WaitForStatus(kStatusWaitMs);
    }
    if (!answered) {
        DebugPrint("WiiRemote : * output failed - wiimote is not connected (or confused). *\n");
        Disconnect();
        return false;
    }

    ResetReportMode();
    ReadCalibration();
    SleepMs(300);
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        tareRequested_ = true;
        pendingChanges_ |= CONNECTED;
    }
    RefreshState();
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        std::uint32_t now = TimeGetTime();
        nextStatusTime_ = nextProbeTime_ = now + kDutyPeriodMs;
    }
    return true;
}

bool wiimote::WaitForStatus(unsigned ms) {
    std::uint32_t start = TimeGetTime();
    for (;;) {
        if (connected_) return true;
        if (badConnection_) return false;
        if (TimeGetTime() - start >= ms) return connected_;
        SleepMs(1);
    }
}

void wiimote::Disconnect() {
    // The reader first, so nothing is parsed while the outputs are reset.
    stopReader_ = true;
    if (readerThread_.joinable()) readerThread_.join();
    stopReader_ = false;

    // A remote left rumbling would go on buzzing after we let go of it.
    bool wasRumbling;
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        wasRumbling = Internal.rumbling;
        Internal.rumbling = false;
        rumbleEnd_ = 0;
        rumbleBit_ = false;
        connected_ = false;
    }
    if (wasRumbling && !badConnection_) {
        unsigned char off[REPORT_LENGTH] = {0x15, 0x00};
        SendNow(off);
    }

    std::thread writer;
    {
        std::lock_guard<std::recursive_mutex> lock(writeLock_);
        stopWriter_ = true;
        writer = std::move(writerThread_);
    }
    if (writer.joinable()) writer.join();

    std::thread rumble;
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        rumble = std::move(rumbleThread_);
    }
    if (rumble.joinable()) rumble.join();

    {
        std::lock_guard<std::recursive_mutex> lock(writeLock_);
        transport_.reset();
        stopWriter_ = false;
        readIndex_ = writeIndex_ = 0;
    }
    hidWriteMode_ = false;
}

bool wiimote::BeginRead() {
    if (readerThread_.joinable()) return true;
    stopReader_ = false;
    try {
        readerThread_ = std::thread(&wiimote::ReaderThread, this);
    } catch (const std::system_error&) {
        DebugPrint("WiiRemote : * couldn't create reader thread! *\n");
        return false;
    }
    return true;
}

void wiimote::ReaderThread() {
    unsigned char buffer[REPORT_LENGTH];
    while (!stopReader_ && !badConnection_) {
        std::memset(buffer, 0, sizeof buffer);
        int n = transport_->Read(buffer, sizeof buffer, ReadTimeout());
        if (n < 0) {
            badConnection_ = true;
            break;
        }
        if (n > 0) ParseInput(buffer);
        ReaderDuties();
    }
    if (badConnection_ && !stopReader_) {
        bool was;
        {
            std::lock_guard<std::recursive_mutex> lock(stateLock_);
            was = connected_.exchange(false);
            if (was) pendingChanges_ |= CONNECTION_LOST;
        }
        if (was) Notify(CONNECTION_LOST);
    }
}

// At most 500 ms, and no longer than until the next status request or probe is due.
int wiimote::ReadTimeout() const {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    if (!connected_ || extensionSettingUp_) return kReadTimeoutMs;
    const std::uint32_t now = TimeGetTime();
    int timeout = kReadTimeoutMs;
    for (std::uint32_t due : {nextStatusTime_, nextProbeTime_}) {
        const std::int32_t left = static_cast<std::int32_t>(due - now);
        timeout = std::min(timeout, std::max(left, 0));
    }
    return timeout;
}

void wiimote::ReaderDuties() {
    if (!connected_) return;
    bool status = false, probe = false;
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        if (extensionSettingUp_) return;
        std::uint32_t now = TimeGetTime();
        if (Reached(now, nextStatusTime_)) {
            status = true;
            nextStatusTime_ = now + kDutyPeriodMs;
        }
        // The probe time moves on even when no probe is due, so that the
        // reader's wait never shrinks to nothing while a board is attached.
        if (Reached(now, nextProbeTime_)) {
            const bool board = Internal.extensionConnected && Internal.extensionType == BALANCE_BOARD;
            probe = !board && !motionPlusExtension_ && Internal.extensionType != MOTION_PLUS &&
                    Internal.extensionType != PARTIALLY_INSERTED;
            nextProbeTime_ = now + kDutyPeriodMs;
        }
    }
    if (status) RequestStatus();
    if (probe) ProbeMotionPlus();
}

void wiimote::Notify(std::uint32_t changed) {
    if (!(changed & CallbackTriggerFlags)) return;
    ChangedNotifier(changed);
    if (ChangedCallback) ChangedCallback(*this, changed);
}

std::uint32_t wiimote::RefreshState() {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    if (!pendingChanges_) return 0;
    const joystick nunchukStick = nunchuk.stick, left = classicController.stickL, right = classicController.stickR;
    static_cast<wiimote_state&>(*this) = Internal;
    nunchuk.stick.deadZoneX = nunchukStick.deadZoneX;
    nunchuk.stick.deadZoneY = nunchukStick.deadZoneY;
    classicController.stickL.deadZoneX = left.deadZoneX;
    classicController.stickL.deadZoneY = left.deadZoneY;
    classicController.stickR.deadZoneX = right.deadZoneX;
    classicController.stickR.deadZoneY = right.deadZoneY;
    gameButtons_.store(buttonsWord, std::memory_order_relaxed);
    std::uint32_t changed = pendingChanges_;
    pendingChanges_ = 0;
    return changed;
}

void wiimote::SetDeadZones(const float zones[6]) {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    nunchuk.stick.deadZoneX = zones[0];
    nunchuk.stick.deadZoneY = zones[1];
    classicController.stickL.deadZoneX = zones[2];
    classicController.stickL.deadZoneY = zones[3];
    classicController.stickR.deadZoneX = zones[4];
    classicController.stickR.deadZoneY = zones[5];
}

wiimote_state wiimote::ReaderState() const {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    return Internal;
}
bool wiimote::ExtensionBeingSetUp() const {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    return extensionSettingUp_;
}
bool wiimote::MotionPlusDetected() const {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    return motionPlusDetected_;
}
bool wiimote::MotionPlusActive() const {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    return motionPlusActive_;
}
unsigned wiimote::QueuedWrites() const {
    std::lock_guard<std::recursive_mutex> lock(writeLock_);
    return (writeIndex_ + WRITE_RING_SIZE - readIndex_) % WRITE_RING_SIZE;
}
unsigned wiimote::ReportingMode() const {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    return reportingMode_;
}

// ---- output reports ----

void wiimote::Send(std::initializer_list<unsigned char> bytes) {
    unsigned char report[REPORT_LENGTH] = {};
    std::size_t i = 0;
    for (unsigned char b : bytes) report[i++] = b;
    WriteReport(report);
}

void wiimote::WriteReport(const unsigned char* report) {
    unsigned char out[REPORT_LENGTH];
    std::memcpy(out, report, REPORT_LENGTH);
    // Every output report carries the current rumble state in bit 0 of its second byte.
    out[1] = static_cast<unsigned char>((out[1] & ~1u) | (rumbleBit_ ? 1u : 0u));
    if (!hidWriteMode_) {
        std::lock_guard<std::recursive_mutex> lock(writeLock_);
        if (!transport_) return;
        if (!transport_->Write(out, REPORT_LENGTH) && connected_) badConnection_ = true;
        return;
    }
    QueueHidWrite(out);
}

// Writes one report at once on the current channel, bypassing the ring.
void wiimote::SendNow(const unsigned char* report) {
    std::lock_guard<std::recursive_mutex> lock(writeLock_);
    if (!transport_) return;
    if (hidWriteMode_)
        transport_->SetOutputReport(report, REPORT_LENGTH);
    else
        transport_->Write(report, REPORT_LENGTH);
}

void wiimote::QueueHidWrite(const unsigned char* report) {
    // A full ring never overwrites an unsent report: the newest one waits a
    // little for room and is refused when none comes.
    for (unsigned tries = 0;; ++tries) {
        {
            std::lock_guard<std::recursive_mutex> lock(writeLock_);
            if (!transport_) return;
            unsigned next = (writeIndex_ + 1) % WRITE_RING_SIZE;
            if (next != readIndex_) {
                std::memcpy(ring_[writeIndex_], report, REPORT_LENGTH);
                writeIndex_ = next;
                break;
            }
        }
        if (tries >= WRITE_QUEUE_WAIT_MS) {
            DebugPrint("WiiRemote : * HID write queue full - report 0x%02X dropped. *\n", report[0]);
            return;
        }
        SleepMs(1);
    }
    // Queued first, so the write thread finds it waiting on its first turn.
    if (!StartWriteThread()) {
        std::lock_guard<std::recursive_mutex> lock(writeLock_);
        readIndex_ = writeIndex_ = 0;  // nothing would ever send them
    }
}

bool wiimote::StartWriteThread() {
    std::lock_guard<std::recursive_mutex> lock(writeLock_);
    if (writerRunning_) return true;
    if (writerThread_.joinable()) writerThread_.join();  // ended: it cleared writerRunning_ last
    if (!transport_ || stopWriter_) return false;        // none, or being let go of
    writerRunning_ = true;
    try {
        writerThread_ = std::thread(&wiimote::HidWriteThread, this);
    } catch (const std::system_error&) {
        writerRunning_ = false;
        DebugPrint("WiiRemote : * couldn't create HID write thread! *\n");
        return false;
    }
    return true;
}

void wiimote::HidWriteThread() {
    for (;;) {
        unsigned char report[REPORT_LENGTH];
        bool have;
        {
            std::lock_guard<std::recursive_mutex> lock(writeLock_);
            if (stopWriter_) break;
            have = readIndex_ != writeIndex_;
            if (have) std::memcpy(report, ring_[readIndex_], REPORT_LENGTH);
        }
        if (have) {
            int result = transport_->SetOutputReport(report, REPORT_LENGTH);
            bool done = false;
            if (result == WiiTransport::kOk) {
                done = true;
            } else if (result == WiiTransport::kBusy || result == WiiTransport::kNotReady) {
                // retried after the pause
            } else if (result == WiiTransport::kNotSupported) {
                DebugPrint("WiiRemote : * BT Stack doesn't suport HID writes! *\n");
                done = true;
            } else if (connected_) {
                badConnection_ = true;
            }
            if (done) {
                std::lock_guard<std::recursive_mutex> lock(writeLock_);
                readIndex_ = (readIndex_ + 1) % WRITE_RING_SIZE;
            }
        }
        SleepMs(1);
    }
    std::lock_guard<std::recursive_mutex> lock(writeLock_);
    writerRunning_ = false;
}

void wiimote::SetLEDs(int bits) {
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        Internal.leds = static_cast<std::uint8_t>(bits & 0x0F);
    }
    Send({0x11, static_cast<unsigned char>((bits & 0x0F) << 4)});
}

void wiimote::RequestStatus() { Send({0x15, 0x00}); }

void wiimote::ReadMemory(unsigned address, unsigned short size) {
    Send({0x17, static_cast<unsigned char>(address >> 24), static_cast<unsigned char>(address >> 16),
          static_cast<unsigned char>(address >> 8), static_cast<unsigned char>(address),
          static_cast<unsigned char>(size >> 8), static_cast<unsigned char>(size)});
}

void wiimote::WriteMemoryByte(unsigned address, unsigned char value) {
    Send({0x16, static_cast<unsigned char>(address >> 24), static_cast<unsigned char>(address >> 16),
          static_cast<unsigned char>(address >> 8), static_cast<unsigned char>(address), 0x01, value});
}

void wiimote::SetReportType(unsigned char mode) {
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        reportingMode_ = mode;
    }
    Send({0x12, 0x00, mode});
}

void wiimote::DisableIR() {
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        Internal.infrared.mode = 0;
    }
    Send({0x13, 0x00});
    Send({0x1A, 0x00});
}

void wiimote::ReadCalibration() { ReadMemory(0x0016, 7); }

void wiimote::ResetReportMode() {
    bool motionPlusOn, board;
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        motionPlusOn = motionPlusDetected_ && motionPlusActive_;
        board = Internal.extensionConnected && Internal.extensionType == BALANCE_BOARD;
    }
    if (motionPlusOn) WriteMemoryByte(0x04A400F0, 0x55);
    DisableIR();
    SetReportType(board ? 0x32 : 0x30);

    bool wasRumbling;
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        wasRumbling = Internal.rumbling;
        if (wasRumbling) {
            Internal.rumbling = false;
            rumbleBit_ = false;
            rumbleEnd_ = 0;
        }
    }
    if (wasRumbling) RequestStatus();

    SetLEDs(0);

    bool speakerOn;
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        speakerOn = Internal.speaker.enabled;
        Internal.speaker.enabled = false;
        if (speakerOn) Internal.speaker.muted = true;
        Internal.speaker.frequency = 0;
        Internal.speaker.volume = 0;
    }
    Send({0x14, 0x00});
    if (speakerOn) Send({0x19, 0x04});
    SleepMs(150);
}

// ---- rumble ----

void wiimote::RumbleFor(unsigned ms) {
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    if (!connected_) return;
    // The timer thread ends with each connection; start it whenever it is not
    // running, so rumble works again after a reconnect.
    if (!rumbleRunning_) {
        if (rumbleThread_.joinable()) rumbleThread_.join();  // ended: it cleared rumbleRunning_ last
        rumbleRunning_ = true;
        try {
            rumbleThread_ = std::thread(&wiimote::RumbleTimerThread, this);
        } catch (const std::system_error&) {
            rumbleRunning_ = false;
            DebugPrint("WiiRemote : * couldn't create rumble thread! *\n");
            return;  // nothing would switch it off again
        }
    }
    if (!Internal.rumbling) {
        Internal.rumbling = true;
        rumbleBit_ = true;
        RequestStatus();
    }
    std::uint32_t end = TimeGetTime() + ms;
    rumbleEnd_ = end ? end : 1;
}

void wiimote::RumbleTimerThread() {
    while (connected_) {
        bool idle;
        {
            std::lock_guard<std::recursive_mutex> lock(stateLock_);
            if (rumbleEnd_ != 0 && Reached(TimeGetTime(), rumbleEnd_)) {
                rumbleEnd_ = 0;
                Internal.rumbling = false;
                rumbleBit_ = false;
                RequestStatus();
            }
            idle = rumbleEnd_ == 0;
        }
        SleepMs(idle ? 4 : 1);
    }
    std::lock_guard<std::recursive_mutex> lock(stateLock_);
    rumbleRunning_ = false;
}
