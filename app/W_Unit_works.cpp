#include "W_Unit.h"

#include "guard.h"
#include "workspage.h"

void TW::wireWorksPage() {}

void TW::ShowShow() {
    guarded(this, [&] { m_show->ShowShow(); });
}
