// Velmora entry point. The start-up sequence lives in game/startup.cpp.
#include "game/contentcheck/contentcheck.h"
#include "game/startup.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);

    // "--check-content [--game-dir DIR]": look the content pack over and exit
    // without opening a window.
    if (!args.empty() && args[0] == "--check-content") {
        std::string gameDir = "Game/";
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--game-dir" && i + 1 < args.size()) {
                gameDir = args[++i];
            } else if (args[i].rfind("--game-dir=", 0) == 0) {
                gameDir = args[i].substr(11);
            } else {
                std::cerr << "velmora: --check-content takes only --game-dir DIR, not \"" << args[i] << "\"\n";
                return 2;
            }
        }
        return contentcheck::RunContentCheck(gameDir, std::cout);
    }
    return game::VelmoraMain(args);
}
