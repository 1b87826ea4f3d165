#include "numira/core/generators.h"

#include "numira/core/addition.h"
#include "numira/core/division.h"
#include "numira/core/multiplication.h"
#include "numira/core/subtraction.h"

namespace numira {

bool ProblemGenerators::Generate(const ChoiceRecord& choice, ProblemStore& store)
{
    switch (choice.ProblemCategory) {
    case kAddition: GenerateAddition(choice.ProblemNumber, store, m_addition, m_random); return true;
    case kSubtraction:
        GenerateSubtraction(choice.ProblemNumber, store, m_subtraction, m_random);
        return true;
    case kMultiplication:
        GenerateMultiplication(choice.ProblemNumber, store, m_multiplication, m_random);
        return true;
    case kDivision: GenerateDivision(choice.ProblemNumber, store, m_division, m_random); return true;
    case kMultiplicationTable:
        // No row chosen: nothing to drill; the window asks again.
        if (choice.tableRowSelection.chosenRows() == 0) return false;
        GenerateMultiplicationTable(choice.tableRowSelection, store, m_random);
        return true;
    default: return false;
    }
}

} // namespace numira
