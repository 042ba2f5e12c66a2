// The player's settings: volumes, music and sound switches, full screen and the
// tutorial. They live in the user-data folder as "Data/Settings.txt", a block
// file of six top-level entries written in this order and form:
//
//   SoundVolume = 0.699999988
//   MusicVolume = 0.699999988
//   FullScreen = 1
//   MusicOn = 1
//   SoundOn = 1
//   TutorialOn = 1
#pragma once

#include <string>

namespace app {

class Settings {
public:
    static constexpr float kDefaultVolume = 0.7f;

    static inline float SoundVolume = kDefaultVolume; // sound effects, 0 to 1
    static inline float MusicVolume = kDefaultVolume; // music, 0 to 1
    static inline int FullScreen = 1;                 // 1 full screen, 0 window
    static inline int MusicOn = 1;
    static inline int SoundOn = 1;
    static inline int TutorialOn = 1;

    Settings() = delete;

    // User-data folder + "Data/Settings.txt"; empty while the folder is unknown.
    static std::string FilePath();

    // ---- LOADING ----

    // Reads the settings file, writing the defaults first when it does not
    // exist. A hand-edited or damaged file never switches things off by
    // accident: a missing key or a value that is not a number keeps the
    // default (with a console line naming the file and the key), volumes are
    // clamped to 0..1 and the switches read as 1 for any non-zero value.
    // Returns false when the file could not be read (the defaults then stay).
    static bool Load();

    // Writes the current values (replacing the file atomically). A write that
    // fails is reported on the console and returns false; the values in memory
    // stay as they are.
    static bool Save();

    // The six values back to their defaults.
    static void ResetToDefaults();

    // The text Save writes.
    static std::string FileText();
};

} // namespace app
