#include "W_Unit.h"

#include "guard.h"
#include "rhymespage.h"

void TW::wireRhymesPage() {}

void TW::ViewShow() {
    guarded(this, [&] { m_view->ViewShow(); });
}
