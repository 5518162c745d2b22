#pragma once
// The UI framework's named colours and the colour each stands for. The
// colours are fixed so that what a configurer sets can be compared.

#include "platform/ui/UIColor.h"

namespace trc::vessa {

enum class VUIColorStyle { TintColor, TintColorDark, TintColorLight, PrimaryText, SecondaryText, Background, Negative };

ui::UIColor preferredVessaColor(VUIColorStyle style);

}  // namespace trc::vessa
