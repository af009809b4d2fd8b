// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/exportformat.h"
#include "presentation/works/importplan.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QWidget;

// The file dialogs, the preview and the progress of 导出 and 导入 go through the installed object,
// so that a test answers them without a modal loop, as Dialogs does for messages.
class WorksDialogs {
public:
    virtual ~WorksDialogs() = default;

    using SaveTarget = exportformat::Target;
    // The save dialog, its filters the formats; nothing when cancelled.
    virtual std::optional<SaveTarget> saveTarget(QWidget *parent, const QString &suggestedName);
    // The text file to import; empty when cancelled.
    virtual QString importFile(QWidget *parent);

    struct ImportChoice {
        QString category;
        QList<int> chosen; // indexes of the items to add
    };
    // What an import would add, before anything is written; nothing when cancelled.
    virtual std::optional<ImportChoice> previewImport(QWidget *parent, const QString &fileName,
                                                      const QString &encoding, const QList<ImportItem> &items,
                                                      const QString &category);

    // The progress of a long task, with 取消.
    class Progress {
    public:
        virtual ~Progress() = default;
        // Shows how far the task is and lets the window handle its events.
        virtual void setValue(int done) = 0;
        virtual bool canceled() = 0;
    };
    virtual std::unique_ptr<Progress> progress(QWidget *parent, const QString &label, int total);

    static WorksDialogs &current();
    // Replaces the current object (not owned); nullptr restores the real dialogs.
    static void install(WorksDialogs *dialogs);
};
