#include "framework/Framerate.h"

#include <algorithm>

#include "framework/Time.h"

Framerate::Framerate(const char* name_, int rate_)
    : rate(static_cast<float>(rate_)),
      targetRate(rate_),
      averageStart(TimeGetTime()),
      period(rate_ > 0 ? 1000.0f / static_cast<float>(rate_) : 0.0f),
      name(name_ ? name_ : "") {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    controllers.push_back(this);
    // The averaging window is set by the first limiter. Sleep precision needs
    // no request here: the system sleep is already millisecond-accurate; a
    // prompt wake-up is asked for by the pacing thread itself (EndFRC).
    if (controllers.size() == 1) averageWindow = 10;
}

Framerate::~Framerate() {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    controllers.erase(std::remove(controllers.begin(), controllers.end(), this), controllers.end());
}

void Framerate::SetFramerate(int rate_) {
    targetRate = rate_;
    rate = static_cast<float>(rate_);
    period = rate_ > 0 ? 1000.0f / static_cast<float>(rate_) : 0.0f;
}

void Framerate::StartFRC() { frameStart = TimeGetTime(); }

void Framerate::EndFRC() {
    // A sleep is only as good as the wake-up after it: on a busy machine the
    // thread that paces with this limiter is woken in time, not when another
    // thread's turn ends.
    if (pacedThread != std::this_thread::get_id()) {
        pacedThread = std::this_thread::get_id();
        AskForPromptWakeUps();
    }
    std::uint32_t elapsed = TimeGetTime() - frameStart;
    // Truncated toward zero; an overrun frame does not sleep and carries nothing over.
    long long remaining = static_cast<long long>(period - static_cast<float>(elapsed));
    if (remaining >= 0) SleepMs(static_cast<std::uint32_t>(remaining));

    std::uint32_t now = TimeGetTime();
    ++frames;
    lastEndTime = now;
    std::uint32_t spent = now - frameStart;
    // A frame measured as 0 ms (coarse clock) reads as the target rate rather than infinity.
    rate = spent ? 1000.0f / static_cast<float>(spent) : static_cast<float>(targetRate);
    if (frames >= averageWindow) {
        std::uint32_t window = now - averageStart;
        averageRate = window ? static_cast<float>(averageWindow) * 1000.0f / static_cast<float>(window)
                             : static_cast<float>(targetRate);
        averageStart = now;
        frames = 0;
    }
}

std::vector<float> Framerate::GetFramerates() {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    std::vector<float> out;
    out.reserve(controllers.size());
    for (const Framerate* f : controllers)
        out.push_back(f->targetRate ? f->rate / static_cast<float>(f->targetRate) : 0.0f);
    return out;
}

std::vector<std::uint32_t> Framerate::GetRatesAndColors(std::vector<float>& rates) {
    static const std::uint32_t colors[8] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
                                            0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF, 0xFF000000};
    std::lock_guard<std::recursive_mutex> hold(Critical);
    rates = GetFramerates();
    std::vector<std::uint32_t> out(rates.size());
    for (size_t i = 0; i < out.size(); ++i) out[i] = colors[i % 8];
    return out;
}

std::vector<std::string> Framerate::GetNames() {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    std::vector<std::string> out;
    out.reserve(controllers.size());
    for (const Framerate* f : controllers) out.push_back(f->name);
    return out;
}
