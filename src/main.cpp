// Velmora entry point. The start-up sequence lives in app/startup.cpp.
#include "app/startup.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return app::VelmoraMain(args);
}
