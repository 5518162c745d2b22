#pragma once
// The option titles of the form cells: the ones their controls show.

#include "platform/ui/UIOptionTitles.h"

namespace trc::vessa {

using VUIOptionTitles = ui::UIOptionTitles;

}  // namespace trc::vessa
