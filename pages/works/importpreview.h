// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/importplan.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// The preview of an import, before anything is written: the file and its encoding, the category to
// add to, and every poem of the file with its line count. The ones that look like duplicates of
// stored works are marked and left unticked; the user ticks what is to be added.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    ImportPreviewDialog(const QString &fileName, const QString &encoding, const QList<ImportItem> &items,
                        const QString &category, QWidget *parent = nullptr);

    QString category() const;
    // The indexes of the ticked poems.
    QList<int> chosen() const;

private:
    void showCount();

    QComboBox *m_category;
    QTreeWidget *m_list;
    QLabel *m_count;
    QPushButton *m_import;
};
