#include "W_Unit.h"

#include "creationpage.h"
#include "guard.h"

void TW::wireCreationPage() {}

void TW::EditShow() {
    guarded(this, [&] { m_edit->EditShow(); });
}
