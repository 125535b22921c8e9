#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Paces one thread's loop to a target rate by sleeping out the rest of each
// frame, and measures the rate reached. Every limiter is listed in one
// registry so a display can show all loops' rates by name.
class Framerate {
public:
    Framerate(const char* name, int rate);
    ~Framerate();
    Framerate(const Framerate&) = delete;
    Framerate& operator=(const Framerate&) = delete;

    void SetFramerate(int rate);
    void StartFRC();
    void EndFRC();
    float GetFramerate() const { return rate; }
    float GetAverageFramerate() const { return averageRate; }
    const std::string& GetName() const { return name; }
    float GetPeriod() const { return period; }
    void SetFrameStart(std::uint32_t t) { frameStart = t; }

    static std::vector<float> GetFramerates();
    static std::vector<std::uint32_t> GetRatesAndColors(std::vector<float>& rates);
    static std::vector<std::string> GetNames();

    static std::vector<Framerate*> controllers;
    static std::recursive_mutex Critical;
    static int averageWindow;

private:
    float averageRate = 0.0f;
    float rate = 0.0f;
    std::uint32_t lastEndTime = 0;
    int targetRate = 0;
    std::uint32_t averageStart = 0;
    float period = 0.0f;
    std::uint32_t frameStart = 0;
    int frames = 0;
    // The thread whose wake-ups were made prompt: the one that paces with
    // this limiter (it is made on another thread).
    std::thread::id pacedThread;
    std::string name;
};

// The game thread's limiter, "Main Loop" at 60.
extern Framerate gameFrameRate;
