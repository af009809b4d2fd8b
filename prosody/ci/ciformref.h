// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace prosody {

// One form of a 词牌, as a check is asked for it or offers it: the 词牌 by its own name (CiTune::name,
// never an alias) and the form by its number, 0 the one that fits the poem best, else as 御定词谱
// numbers its 体 (1 正体, 2 … each 又一体 in the book's order), the corpus's forms the book lacks after
// them (CiForm::number).
struct CiFormRef {
    QString tune;
    int number = 0;

    bool operator==(const CiFormRef &) const = default;
};

} // namespace prosody
