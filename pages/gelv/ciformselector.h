// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

class CiFormChoice;

// The form of a 词牌 (正体, 又一体 …) to check against, or in 自动 the 词牌 that fit almost as well;
// shown only when there is something to pick.
class CiFormSelector : public QComboBox {
    Q_OBJECT
public:
    explicit CiFormSelector(CiFormChoice *choice, QWidget *parent = nullptr);

private:
    void showEntries();

    CiFormChoice *m_choice;
};
