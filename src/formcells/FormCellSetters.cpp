// Placeholder bodies: each family of kinds replaces its own in a source of
// its own (FormCellSetters+Text.cpp and the like) and removes it from here.
// Until then a row of that kind shows as the cell comes.

#include "formcells/FormCellSetters.h"

namespace trc::formcells {}  // namespace trc::formcells
