// makebigcatalogue DIR LINES [SEED]: writes a synthetic disc catalogue for timing by hand.

#include "syntheticdisc.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: makebigcatalogue DIR LINES [SEED]\n");
        return 2;
    }
    try {
        bench::WriteSyntheticDisc(argv[1], std::stoul(argv[2]),
                                  argc == 4 ? static_cast<unsigned>(std::stoul(argv[3])) : 1u);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "makebigcatalogue: %s\n", e.what());
        return 1;
    }
    return 0;
}
