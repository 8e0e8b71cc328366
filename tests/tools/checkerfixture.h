#pragma once
// A small disc whose catalogue is complete and clean, for the checker's tests to spoil.

#include "tempdisc.h"

#include <string>

namespace testsupport {

inline void WriteCleanCatalogue(const TempDisc& disc)
{
    disc.WriteEmptyCatalogue();
    std::string menu;
    for (int k = 1; k <= 42; ++k)
        menu += "caption " + std::to_string(k) + "\r\n";
    disc.Write("DB/Menu.mob", menu);
    disc.Write("DB/AboutManual.mob", "About the manuals.\r\n");
    disc.Write("DB/AboutMIDI.mob", "About the ring tones.");
}

} // namespace testsupport
