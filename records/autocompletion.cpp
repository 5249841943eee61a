#include "records/autocompletion.h"

namespace AutoCompletion {

void completeNewDeclaration()
{
}

void fillMissingMonths()
{
}

} // namespace AutoCompletion
