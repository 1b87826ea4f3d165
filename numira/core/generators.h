#pragma once

#include "numira/core/value1.h"

namespace numira {

// Runs the generator of the recorded category into the store. Each family
// keeps its own table of drawn pairs here for as long as the program runs.
class ProblemGenerators {
public:
    explicit ProblemGenerators(RandomSource& random) : m_random(random) {}

    // Generates for the choice; false when the category has no generator
    // (the store then keeps its previous set).
    bool Generate(const ChoiceRecord& choice, ProblemStore& store);

private:
    RandomSource& m_random;
    UsedPairs m_addition;
    UsedPairs m_subtraction;
    UsedPairs m_multiplication;
    UsedPairs m_division;
};

} // namespace numira
