#pragma once
// The few icons the window draws itself (no image files to ship).

#include "app/comb_lists.h"

#include <QIcon>

namespace pelko {

// Green plus (kept), red minus (removed), blue arrow (undone).
QIcon FilterKindIcon(TFilterKind kind);
// The application's icon: a small ball with "45".
QIcon ApplicationIcon();

} // namespace pelko
