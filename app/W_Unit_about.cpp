#include "W_Unit.h"

#include "aboutpage.h"
#include "guard.h"

void TW::wireAboutPage() {}

void TW::AboutShow() {
    guarded(this, [&] { m_about->AboutShow(); });
}
