#include "numira/core/generators.h"

#include "numira/core/addition.h"

namespace numira {

bool ProblemGenerators::Generate(const ChoiceRecord& choice, ProblemStore& store)
{
    switch (choice.ProblemCategory) {
    case kAddition: GenerateAddition(choice.ProblemNumber, store, m_addition, m_random); return true;
    // Subtraction, multiplication, the table and division join here.
    default: return false;
    }
}

} // namespace numira
