#include "app/deltatime.h"

#include "app/platform/core/system.h"

#include <algorithm>

namespace app {

namespace {

std::vector<std::shared_ptr<TDeltaTime>>& MeterList()
{
    static std::vector<std::shared_ptr<TDeltaTime>> list;
    return list;
}

float g_frameFactor = 1.0f;
std::function<void()> g_eventPump;

struct AppClockState {
    int64_t total = 0;
    int64_t lastReading = 0;
    bool hasReading = false; // a clock reading of 0 is a valid time, not "none"
    int64_t lastStep = 0;
};
AppClockState g_appClock;

} // namespace

std::shared_ptr<TDeltaTime> TDeltaTime::Create(float fps)
{
    auto meter = std::make_shared<TDeltaTime>();
    meter->SetFPS(fps);
    MeterList().push_back(meter);
    return meter;
}

void TDeltaTime::Update()
{
    CurrTime = platform::Millis();
    // The platform clock is monotonic; a replaced clock that reads earlier
    // than before must not turn into a negative frame.
    ElapsedTime = CurrTime >= OldTime ? CurrTime - OldTime : 0;
    OldTime = CurrTime;
    if (CurrTime > CheckTime) {
        CheckTime = CurrTime + 1000;
        CurrFps = FPSCounter;
        FPSCounter = 0;
    } else {
        FPSCounter += 1;
    }
}

float TDeltaTime::CurrDelta() const
{
    if (dDelta <= 0.0f)
        return 0.0f;
    return static_cast<float>(ElapsedTime) / dDelta;
}

void TDeltaTime::SetFPS(float fps)
{
    // A rate of zero or below would make every frame infinitely long.
    if (!(fps > 0.0f))
        fps = 60.0f;
    dFps = fps;
    dDelta = 1000.0f / fps;
}

void TDeltaTime::Destroy()
{
    auto& list = MeterList();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [this](const std::shared_ptr<TDeltaTime>& m) { return m.get() == this; }),
               list.end());
}

const std::vector<std::shared_ptr<TDeltaTime>>& DeltaTimes() { return MeterList(); }

TDeltaTime& MainDeltaTime()
{
    static std::shared_ptr<TDeltaTime> meter = TDeltaTime::Create(60.0f);
    return *meter;
}

float FrameFactor() { return g_frameFactor; }
void SetFrameFactor(float factor) { g_frameFactor = factor; }

void UpdateDeltaTime()
{
    TDeltaTime& meter = MainDeltaTime();
    meter.Update();
    g_frameFactor = meter.CurrDelta();
    if (g_eventPump)
        g_eventPump();
}

void ResetDeltaTime()
{
    for (int i = 0; i < 100; ++i)
        UpdateDeltaTime();
}

void SetEventPump(std::function<void()> pump) { g_eventPump = std::move(pump); }

// ---- Application clock ----

int64_t AppClock()
{
    const int64_t now = platform::Millis();
    if (!g_appClock.hasReading) {
        g_appClock.lastReading = now;
        g_appClock.hasReading = true;
    }
    const int64_t diff = now - g_appClock.lastReading;
    g_appClock.lastStep = diff < 0 ? -diff : diff;
    g_appClock.total += g_appClock.lastStep;
    g_appClock.lastReading = now;
    return g_appClock.total;
}

void HoldApplicationClock() { g_appClock.hasReading = false; }
int64_t AppClockStep() { return g_appClock.lastStep; }
void ResetAppClock() { g_appClock = AppClockState{}; }

} // namespace app
