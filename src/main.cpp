// Velmora entry point. The start-up sequence lives in app/; this file only hands over.
#include <cstdio>

int main(int, char**)
{
    std::puts("Velmora");
    return 0;
}
