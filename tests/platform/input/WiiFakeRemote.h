#pragma once
// An in-process Wii remote for the driver's tests, with the virtual clock the
// driver's threads run on.
//
// The clock only moves when some thread sleeps, and a sleep first waits until
// the remote is quiet: every report it sent has been read and parsed (the
// reader is back waiting) and, for threads other than the write thread, the
// driver's write ring is empty. So a timeout can never overtake a reply that
// is already on its way, however slowly the threads are scheduled. The reader
// thread's own sleeps do not wait.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "framework/Time.h"
#include "platform/input/WiiTransport.h"
#include "platform/input/wiimote.h"

class FakeWiiRemote {
public:
    using Report = std::array<unsigned char, wiimote::REPORT_LENGTH>;
    struct Written {
        std::uint32_t time;
        bool control;  // sent as a control request (SetOutputReport)
        Report bytes;
    };

    FakeWiiRemote() {
        current = this;
        now.store(1000);
        oldClock = SetClockFunction([] { return now.load(); });
        oldSleep = SetSleepFunction(&FakeWiiRemote::Sleep);
        oldStart = GetStartTimeStamp();
        SetStartTimeStamp(0);
        // Calibration at 0x0016: zero-g 0x80, one-g 0x9A on each axis.
        const unsigned char cal[7] = {0x80, 0x80, 0x80, 0x00, 0x9A, 0x9A, 0x9A};
        for (unsigned i = 0; i < 7; ++i) memory[0x16 + i] = cal[i];
    }
    ~FakeWiiRemote() {
        SetClockFunction(oldClock);
        SetSleepFunction(oldSleep);
        SetStartTimeStamp(oldStart);
        current = nullptr;
    }
    FakeWiiRemote(const FakeWiiRemote&) = delete;
    FakeWiiRemote& operator=(const FakeWiiRemote&) = delete;

    // ---- set-up ----
    std::unique_ptr<WiiDeviceFinder> Finder() { return std::make_unique<FakeFinder>(this); }
    // The driver whose write ring the clock waits for.
    void Watch(const wiimote* driver) {
        std::lock_guard<std::mutex> lk(m);
        watched = driver;
    }
    void SetPresent(bool on) { Set(present, on); }
    // Which channels the remote listens to: the data channel, control requests.
    void SetListens(bool data, bool control) {
        std::lock_guard<std::mutex> lk(m);
        listensData = data;
        listensControl = control;
    }
    void SetHasSetOutputReport(bool on) { Set(hasSetOutput, on); }
    // When off the remote takes reports but answers none of them.
    void SetAutoAnswer(bool on) { Set(autoAnswer, on); }
    // Results that the next control requests (of one report id, or any when
    // -1) get before they succeed.
    void ScriptControlResults(std::vector<int> results, int reportId = -1) {
        std::lock_guard<std::mutex> lk(m);
        controlResults.assign(results.begin(), results.end());
        controlResultsId = reportId;
    }
    // Every control request answers busy while stalled.
    void SetStalled(bool on) { Set(stalled, on); }
    void SetBattery(unsigned char raw) { Set(battery, raw); }
    void SetButtons(std::uint16_t word) { Set(buttons, word); }
    // Plugs an extension (its six identification bytes and the register
    // contents from 0xA40020) or unplugs it (null id); the remote then sends a
    // status report unasked, as the real one does.
    void SetExtension(const unsigned char* id, std::vector<unsigned char> calibration = {}) {
        std::lock_guard<std::mutex> lk(m);
        extension = id != nullptr;
        for (unsigned i = 0; i < 6; ++i) {
            if (id)
                memory[0x04A400FA + i] = id[i];
            else
                memory.erase(0x04A400FA + i);
        }
        for (unsigned i = 0; i < calibration.size(); ++i) memory[0x04A40020 + i] = calibration[i];
        if (open) PushStatusLocked();
    }
    void SetMemory(unsigned key, unsigned char value) {
        std::lock_guard<std::mutex> lk(m);
        memory[key] = value;
    }
    // The open device fails from now on, as when the remote goes out of range.
    void Fail() {
        std::lock_guard<std::mutex> lk(m);
        failed = true;
        cv.notify_all();
    }
    // Queues one input report for the reader.
    void Push(std::initializer_list<unsigned char> bytes) {
        Report r{};
        std::size_t i = 0;
        for (unsigned char b : bytes) r[i++] = b;
        Push(r);
    }
    void Push(const Report& r) {
        std::lock_guard<std::mutex> lk(m);
        input.push_back(r);
        cv.notify_all();
    }

    // ---- the clock ----
    static std::uint32_t Now() { return now.load(); }
    // While held no sleep returns, so the clock stands still.
    void Hold() { Set(held, true); }
    void Release() { Set(held, false); }

    // ---- what the driver did ----
    std::vector<Written> Writes() {
        std::lock_guard<std::mutex> lk(m);
        return writes;
    }
    std::vector<Written> WritesSince(std::size_t first) {
        std::lock_guard<std::mutex> lk(m);
        return std::vector<Written>(writes.begin() + static_cast<long>(std::min(first, writes.size())), writes.end());
    }
    std::size_t WriteCount() {
        std::lock_guard<std::mutex> lk(m);
        return writes.size();
    }
    std::vector<std::uint32_t> OpenAttempts() {
        std::lock_guard<std::mutex> lk(m);
        return openAttempts;
    }
    // Rumble state changes as the remote felt them: (time, on).
    std::vector<std::pair<std::uint32_t, bool>> RumbleChanges() {
        std::lock_guard<std::mutex> lk(m);
        return rumbleChanges;
    }
    int Leds() {
        std::lock_guard<std::mutex> lk(m);
        return leds;
    }
    bool IsOpen() {
        std::lock_guard<std::mutex> lk(m);
        return open;
    }
    // Every queued report has been read and parsed: the reader waits again.
    bool Drained() {
        std::lock_guard<std::mutex> lk(m);
        return input.empty() && readerWaiting;
    }
    int Opens() {
        std::lock_guard<std::mutex> lk(m);
        return opens;
    }

    // Waits (on real time, bounded) until pred holds; false when it never did.
    template <class Pred>
    bool WaitUntil(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            if (pred()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::unique_lock<std::mutex> lk(m);
            cv.wait_for(lk, std::chrono::microseconds(500));
        }
    }

private:
    class FakeTransport final : public WiiTransport {
    public:
        explicit FakeTransport(FakeWiiRemote* r) : remote(r) {}
        ~FakeTransport() override { remote->Close(); }
        int Read(unsigned char* buffer, std::size_t size, int timeoutMs) override {
            return remote->Read(buffer, size, timeoutMs);
        }
        bool Write(const unsigned char* report, std::size_t) override { return remote->Take(report, false); }
        bool HasSetOutputReport() const override { return remote->HasControl(); }
        int SetOutputReport(const unsigned char* report, std::size_t) override { return remote->Control(report); }

    private:
        FakeWiiRemote* remote;
    };
    class FakeFinder final : public WiiDeviceFinder {
    public:
        explicit FakeFinder(FakeWiiRemote* r) : remote(r) {}
        std::unique_ptr<WiiTransport> OpenRemote() override {
            if (!remote->Open()) return nullptr;
            return std::make_unique<FakeTransport>(remote);
        }

    private:
        FakeWiiRemote* remote;
    };

    template <class T>
    void Set(T& field, T value) {
        std::lock_guard<std::mutex> lk(m);
        field = value;
        cv.notify_all();
    }

    bool Open() {
        std::lock_guard<std::mutex> lk(m);
        openAttempts.push_back(now.load());
        cv.notify_all();
        if (!present) return false;
        open = true;
        ++opens;
        failed = false;
        input.clear();
        readerKnown = readerWaiting = readerGone = readerSleeping = false;
        readerId = writerId = std::thread::id();
        return true;
    }
    void Close() {
        std::lock_guard<std::mutex> lk(m);
        open = false;
        cv.notify_all();
    }
    bool HasControl() {
        std::lock_guard<std::mutex> lk(m);
        return hasSetOutput;
    }

    // Marks the reader gone when its thread ends, so that nobody waits for it.
    struct ReaderExit {
        FakeWiiRemote* remote = nullptr;
        ~ReaderExit() {
            if (!remote) return;
            std::lock_guard<std::mutex> lk(remote->m);
            if (remote->readerId == std::this_thread::get_id()) remote->readerGone = true;
            remote->cv.notify_all();
        }
    };

    int Read(unsigned char* buffer, std::size_t size, int timeoutMs) {
        thread_local ReaderExit exitMark;
        exitMark.remote = this;
        std::unique_lock<std::mutex> lk(m);
        readerId = std::this_thread::get_id();
        readerKnown = true;
        const std::uint32_t deadline = now.load() + static_cast<std::uint32_t>(timeoutMs);
        readerDeadline = deadline;
        const auto realLimit = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);
        readerWaiting = true;
        cv.notify_all();
        int result = 0;
        for (;;) {
            if (failed) {
                result = -1;
                break;
            }
            if (!input.empty()) {
                std::memcpy(buffer, input.front().data(), std::min(size, input.front().size()));
                input.pop_front();
                result = static_cast<int>(size);
                break;
            }
            if (static_cast<std::int32_t>(now.load() - deadline) >= 0) break;
            if (cv.wait_until(lk, realLimit) == std::cv_status::timeout) break;
        }
        readerWaiting = false;
        cv.notify_all();
        return result;
    }

    int Control(const unsigned char* report) {
        std::lock_guard<std::mutex> lk(m);
        writerId = std::this_thread::get_id();
        if (stalled) return WiiTransport::kBusy;
        if (!controlResults.empty() && (controlResultsId < 0 || controlResultsId == report[0])) {
            int r = controlResults.front();
            controlResults.pop_front();
            if (r != WiiTransport::kOk) return r;
        }
        if (failed) return 31;  // a general failure
        TakeLocked(report, true);
        return WiiTransport::kOk;
    }
    bool Take(const unsigned char* report, bool control) {
        std::lock_guard<std::mutex> lk(m);
        if (failed) return false;
        TakeLocked(report, control);
        return true;
    }

    void TakeLocked(const unsigned char* r, bool control) {
        Written w{now.load(), control, {}};
        std::memcpy(w.bytes.data(), r, w.bytes.size());
        writes.push_back(w);
        cv.notify_all();
        if (!(control ? listensControl : listensData)) return;
        const bool rumble = r[1] & 1;
        if (rumble != rumbling) rumbleChanges.emplace_back(now.load(), rumble);
        rumbling = rumble;
        switch (r[0]) {
            case 0x11: leds = r[1] >> 4; break;
            case 0x15:
                if (autoAnswer) PushStatusLocked();
                break;
            case 0x16: memory[Key(r)] = r[6]; break;
            case 0x17:
                if (autoAnswer) AnswerReadLocked(Key(r), static_cast<unsigned>(r[5] << 8 | r[6]));
                break;
            default: break;
        }
    }
    static unsigned Key(const unsigned char* r) {
        return (r[1] & 0x04 ? 0x04000000u : 0u) | static_cast<unsigned>(r[2] << 16 | r[3] << 8 | r[4]);
    }
    void PushStatusLocked() {
        Report s{};
        s[0] = 0x20;
        s[1] = static_cast<unsigned char>(buttons);
        s[2] = static_cast<unsigned char>(buttons >> 8);
        s[3] = static_cast<unsigned char>((extension ? 0x02 : 0) | (leds << 4));
        s[6] = battery;
        input.push_back(s);
        cv.notify_all();
    }
    void AnswerReadLocked(unsigned key, unsigned size) {
        for (unsigned i = 0; i < size; ++i) {
            if (!memory.count(key + i)) {
                // Unknown registers answer "write-only", unknown memory "invalid".
                Report e{};
                e[0] = 0x21;
                e[3] = (key & 0x04000000u) ? 0x07 : 0x08;
                e[4] = static_cast<unsigned char>(key >> 8);
                e[5] = static_cast<unsigned char>(key);
                input.push_back(e);
                cv.notify_all();
                return;
            }
        }
        for (unsigned done = 0; done < size; done += 16) {
            const unsigned n = std::min(16u, size - done);
            Report d{};
            d[0] = 0x21;
            d[1] = static_cast<unsigned char>(buttons);
            d[2] = static_cast<unsigned char>(buttons >> 8);
            d[3] = static_cast<unsigned char>((n - 1) << 4);
            d[4] = static_cast<unsigned char>((key + done) >> 8);
            d[5] = static_cast<unsigned char>(key + done);
            for (unsigned i = 0; i < n; ++i) d[6 + i] = memory[key + done + i];
            input.push_back(d);
        }
        cv.notify_all();
    }

    static void Sleep(std::uint32_t ms) {
        FakeWiiRemote* self = current;
        if (self)
            self->SleepFor(ms);
        else
            now.fetch_add(ms);
    }
    // Sleepers wake in the order of their wake-up times: only the earliest may
    // move the clock, and only to the first time anyone (a sleeper, or the
    // reader waiting for a report) is due, once the remote is quiet.
    void SleepFor(std::uint32_t ms) {
        const auto self = std::this_thread::get_id();
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::unique_lock<std::mutex> lk(m);
        const std::uint32_t target = now.load() + ms;
        auto mine = sleepers.insert(target);
        for (;;) {
            if (static_cast<std::int32_t>(now.load() - target) >= 0) break;
            const wiimote* driver = watched;
            const bool skipRing = !driver || self == writerId || stalled;
            // The ring is asked without our lock: the driver calls into us under its own.
            lk.unlock();
            const bool ringEmpty = skipRing || driver->QueuedWrites() == 0;
            lk.lock();
            if (static_cast<std::int32_t>(now.load() - target) >= 0) break;
            // Nothing is on its way when the reader waits with nothing left to
            // read, or when there is no reader any more to read it.
            const bool isReader = self == readerId && readerKnown && !readerGone;
            if (isReader) readerSleeping = true;
            const bool readerIdle =
                isReader || !open || readerGone || readerSleeping || (input.empty() && (!readerKnown || readerWaiting));
            std::uint32_t next = target;
            if (!isReader && open && !readerGone && readerWaiting && readerDeadline < next) next = readerDeadline;
            const bool earliest = *sleepers.begin() == target;
            const bool somebodyDue = next <= now.load();  // the reader: let it run first
            if (!held && readerIdle && ringEmpty && earliest && !somebodyDue) {
                now.store(next);
                cv.notify_all();
                continue;
            }
            if (std::chrono::steady_clock::now() > limit) {
                std::fprintf(stderr, "fake remote: a sleep waited 5 s for quiet\n");
                now.store(target);
                break;
            }
            cv.wait_for(lk, std::chrono::microseconds(200));
        }
        sleepers.erase(mine);
        if (self == readerId) readerSleeping = false;
        cv.notify_all();
    }
    static inline std::atomic<std::uint32_t> now{0};
    static inline std::atomic<FakeWiiRemote*> current{nullptr};

    std::mutex m;
    std::condition_variable cv;
    ClockFunction oldClock;
    SleepFunction oldSleep;
    std::uint32_t oldStart;

    const wiimote* watched = nullptr;
    bool present = true, listensData = true, listensControl = true, hasSetOutput = true;
    bool autoAnswer = true, stalled = false, held = false;
    std::deque<int> controlResults;
    int controlResultsId = -1;
    unsigned char battery = 0xC0;
    std::uint16_t buttons = 0;
    bool extension = false;
    std::map<unsigned, unsigned char> memory;

    bool open = false, failed = false;
    int opens = 0;
    std::deque<Report> input;
    bool readerKnown = false, readerWaiting = false, readerGone = false, readerSleeping = false;
    std::uint32_t readerDeadline = 0;
    std::multiset<std::uint32_t> sleepers;
    std::thread::id readerId, writerId;

    std::vector<Written> writes;
    std::vector<std::uint32_t> openAttempts;
    std::vector<std::pair<std::uint32_t, bool>> rumbleChanges;
    bool rumbling = false;
    int leds = 0;
};
