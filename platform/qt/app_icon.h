// The program's icon, drawn at each size a desktop asks for: a blue tile
// with a rising price line (the same picture as res/brindle.svg).
#pragma once

#include <QIcon>

namespace platform::qt
{

QIcon AppIcon();

} // namespace platform::qt
