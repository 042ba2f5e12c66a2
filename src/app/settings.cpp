#include "app/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/blockfile.h"
#include "datafiles/numbers.h"

namespace app {

namespace {

// True when the whole text (blanks around it aside) is a finite decimal
// number: optional sign, digits with an optional fraction, optional exponent.
bool IsNumberText(const std::string& raw)
{
    std::string s = datafiles::Trim(raw);
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s[0])) || s[0] == '.' || s[0] == '-'))
        return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(v);
}

// The number stored under `key`, or nothing (and a console line) when the key
// is missing or its value is not a number.
bool ReadNumber(const PBlockFile& root, const std::string& path, const char* key, double& out)
{
    const PBlockFile entry = FindBlockOrNull(root, key);
    if (!entry || entry->MyType != 1 || entry->GetSize() < 1) {
        platform::Log("Settings file " + path + ": no value for " + key + ", the default is used");
        return false;
    }
    const std::string text = entry->GetString(0);
    if (!IsNumberText(text)) {
        platform::Log("Settings file " + path + ": " + key + " = \"" + text +
                      "\" is not a number, the default is used");
        return false;
    }
    out = datafiles::ParseDouble(text);
    return true;
}

void ReadVolume(const PBlockFile& root, const std::string& path, const char* key, float& volume)
{
    double v = 0;
    volume = ReadNumber(root, path, key, v) ? static_cast<float>(std::clamp(v, 0.0, 1.0)) : Settings::kDefaultVolume;
}

void ReadSwitch(const PBlockFile& root, const std::string& path, const char* key, int& value)
{
    double v = 0;
    value = ReadNumber(root, path, key, v) ? (datafiles::TruncToInt(v) != 0 ? 1 : 0) : 1;
}

PBlockFile BuildBlock(const std::string& path)
{
    PBlockFile root = NewBlock(path);
    SetBlockFloat(*root, "SoundVolume", Settings::SoundVolume);
    SetBlockFloat(*root, "MusicVolume", Settings::MusicVolume);
    SetBlockInt(*root, "FullScreen", Settings::FullScreen);
    SetBlockInt(*root, "MusicOn", Settings::MusicOn);
    SetBlockInt(*root, "SoundOn", Settings::SoundOn);
    SetBlockInt(*root, "TutorialOn", Settings::TutorialOn);
    return root;
}

} // namespace

std::string Settings::FilePath()
{
    const std::string& folder = UserDataFolder();
    return folder.empty() ? std::string() : folder + "Data/Settings.txt";
}

void Settings::ResetToDefaults()
{
    SoundVolume = kDefaultVolume;
    MusicVolume = kDefaultVolume;
    FullScreen = 1;
    MusicOn = 1;
    SoundOn = 1;
    TutorialOn = 1;
}

// ---- LOADING ----

bool Settings::Load()
{
    const std::string path = FilePath();
    if (path.empty()) {
        platform::Log("No user-data folder: the settings keep their defaults");
        return false;
    }
    if (platform::FileType(path) == 0) {
        // First run: the defaults become the file.
        ResetToDefaults();
        Save();
        return true;
    }
    const auto text = platform::TryReadTextFile(path);
    if (!text) {
        platform::Log("Cannot read the settings file " + path + "; the defaults are used");
        ResetToDefaults();
        return false;
    }
    const PBlockFile root = ParseBlockText(*text, path);
    ReadVolume(root, path, "SoundVolume", SoundVolume);
    ReadVolume(root, path, "MusicVolume", MusicVolume);
    ReadSwitch(root, path, "FullScreen", FullScreen);
    ReadSwitch(root, path, "MusicOn", MusicOn);
    ReadSwitch(root, path, "SoundOn", SoundOn);
    ReadSwitch(root, path, "TutorialOn", TutorialOn);
    return true;
}

bool Settings::Save()
{
    const std::string path = FilePath();
    if (path.empty()) {
        platform::Log("No user-data folder: the settings are not saved");
        return false;
    }
    if (!SaveBlockFile(BuildBlock(path))) {
        platform::Log("Cannot save the settings to " + path + "; they stay in effect until the game ends");
        return false;
    }
    return true;
}

std::string Settings::FileText() { return BlockFileText(*BuildBlock("")); }

} // namespace app
