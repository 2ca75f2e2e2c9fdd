#pragma once

#include <string>

namespace tarvelsim {

// Atomic weights (g/mol) of the elements a mechanism may name without giving
// a weight of its own. The light elements carry the values the classic
// CHEMKIN-II tables used, so molecular weights match results computed with it.
class ElementTable
{
public:
    // 0 for an unknown symbol. Symbols compare without regard to case.
    static double atomicWeight(const std::string &symbol);
};

} // namespace tarvelsim
