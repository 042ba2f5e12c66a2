// Shared helpers of the engine tests: a driver with the small engine data of
// tests/fixtures/match3 and a private temporary folder for level files made
// from board pictures.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "match3/m3boardtext.h"
#include "match3/m3driver.h"

namespace m3test {

inline const char* kEngineDir = "tests/fixtures/match3/";

// A fresh folder under the system temp folder, removed when the test ends.
class TempDir {
public:
    TempDir()
    {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("velmora-m3-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string Str() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A driver with the fixture engine data loaded, ready for pictures.
class Board : public ::testing::Test {
protected:
    // Static boards stay as drawn: a test that wants the driver's reshuffle
    // of a board without moves turns it on.
    void SetUp() override
    {
        d.AutoReshuffle = false;
        ASSERT_TRUE(d.LoadEngine(kEngineDir)) << d.Error();
    }

    // Loads a picture through a real level file; fails the test on errors.
    void Load(const std::string& picture, const std::string& chips = "1 2 3 4 5 6")
    {
        ASSERT_TRUE(d.LoadPicture(tmp.Str(), picture, chips)) << d.Error();
    }
    match3::TM3Game& G() { return d.Game(); }
    match3::TM3Tile* T(int r, int c) { return d.Cell(r, c); }

    match3::TM3Driver d{11, 12};
    TempDir tmp;
};

// Trims each line of a picture written in a raw string for comparison with
// a dump: leading blank lines and indentation go.
inline std::string Pic(const std::string& text)
{
    std::string out, line;
    for (char ch : text + "\n") {
        if (ch == '\n') {
            size_t b = line.find_first_not_of(" \t");
            if (b != std::string::npos) {
                size_t e = line.find_last_not_of(" \t");
                // Collapse runs of blanks between tokens to one.
                std::string collapsed;
                bool blank = false;
                for (char c : line.substr(b, e - b + 1)) {
                    if (c == ' ' || c == '\t') {
                        blank = true;
                        continue;
                    }
                    if (blank && !collapsed.empty())
                        collapsed += ' ';
                    blank = false;
                    collapsed += c;
                }
                out += collapsed + "\n";
            }
            line.clear();
        } else {
            line += ch;
        }
    }
    return out;
}

} // namespace m3test
