// The large animated words of a level: get ready, go, level completed, time's
// up and no more moves. Each caption waits until its start time, runs for its
// life (progress `per` from 0 to 1), is drawn once more at 1 and is removed on
// the following frame. Times are clock milliseconds, motion is scaled by the
// frame factor; both are passed in so that the captions run on any clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gui/images.h"

namespace level {

// Caption pictures by number: 0 go, 1 get ready, 2 completed, 3 no match,
// 4 time's up.
enum { kCapGo = 0, kCapGetReady = 1, kCapCompleted = 2, kCapNoMatch = 3, kCapTimesUp = 4, kCaptionPictures = 5 };

// Loads the five localised caption pictures (handled at their centres) from
// the language folder; missing pictures draw nothing.
void LoadCaptionPictures();
gui::PImg CaptionPicture(int n);

class TCaption {
public:
    virtual ~TCaption() = default;
    int64_t StartTime = 0; // clock time from which the caption runs
    int LifeTime = 1000;   // ms
    int64_t BeginTime = 0; // when it began
    bool begun = false;    // BeginTime is set (a clock may read 0)
    int n = 0;             // picture
    float x = 512, y = 384;
    float rot = 0, scalex = 1, scaley = 1, alpha = 1;
    float per = 0;
    bool removed = false; // leaves the list after this frame's walk

    // Before StartTime: false (neither updated nor drawn). Otherwise begins
    // the caption on its first frame and counts the progress.
    bool CheckAvailable(int64_t now);
    void CountPer(int64_t now);
    virtual void update(float /*ff*/) {}
    virtual void draw() const;

protected:
    // The phase test: runs fn with the phase fraction when from <= per <= to.
    bool CheckPer(float from, float to, const std::function<void(float)>& fn) const;
};

class TBeginCaption : public TCaption {
public:
    TBeginCaption(int64_t now);
    void update(float ff) override;
};

class TBeginGoCaption : public TCaption {
public:
    int LastUpdated = -1;
    std::function<void(int)> playSound; // sound 20 when the word stops spinning in
    TBeginGoCaption(int64_t now);
    void update(float ff) override;
};

class TWinCaption : public TCaption {
public:
    TWinCaption(int64_t now);
    void update(float ff) override;
};

class TLoseCaption : public TCaption {
public:
    TLoseCaption(int64_t now);
    void update(float ff) override;
};

class TNoMovesCaption : public TCaption {
public:
    TNoMovesCaption(int64_t now);
    void update(float ff) override;
};

using PCaption = std::shared_ptr<TCaption>;

// The captions list of the level screen.
class TCaptionList {
public:
    std::vector<PCaption> items;
    void Add(PCaption c) { items.push_back(std::move(c)); }
    void Clear() { items.clear(); }
    // Every caption in list order: if available, update then draw; a caption
    // whose progress reached 1 on an earlier frame is dropped after the walk.
    void UpdateAndDraw(int64_t now, float ff, bool drawing = true);
    bool Empty() const { return items.empty(); }
};

} // namespace level
