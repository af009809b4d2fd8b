#include "prosody/ci/evidence.h"

namespace prosody {

void applyEvidence(CiPosition &p, int formPoems)
{
    const int known = p.ping + p.ze;
    const int lean = std::max(p.ping, p.ze);
    p.tone = ToneClass::Both;
    p.strictness = Strictness::Free;
    if (known == 0)
        return;
    if (formPoems < evidence::kRulePoems) {
        // The examples' class where most of them agree: a warning, never a fault.
        if (2 * lean > known) {
            p.tone = p.leaning();
            p.strictness = Strictness::Warning;
        }
        return;
    }
    if (known >= evidence::kRulePoems && 100 * lean >= evidence::kFaultPercent * known) {
        p.tone = p.leaning();
        p.strictness = Strictness::Fault;
    } else if (100 * lean >= evidence::kWarningPercent * known) {
        p.tone = p.leaning();
        p.strictness = Strictness::Warning;
    }
}

bool rhymedTogether(const Cipu &cipu, int section, int other)
{
    constexpr int firstEntering = 15;
    if ((section >= firstEntering) != (other >= firstEntering))
        return false;
    const Cipu::SharedRhyme shared = cipu.sharedRhyme(section, other);
    return shared.poems >= evidence::kSharedRhymePoems &&
           1000 * shared.poems >= evidence::kSharedRhymePerMille * shared.runs;
}

} // namespace prosody
