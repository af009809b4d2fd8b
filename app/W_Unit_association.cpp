#include "W_Unit.h"

#include "associationpage.h"
#include "guard.h"

void TW::wireAssociationPage() {}

void TW::ThinkShow() {
    guarded(this, [&] { m_think->ThinkShow(); });
}
