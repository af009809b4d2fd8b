// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/cipu/cipubrowser.h"

#include "pages/gelv/cipu/cipusheethtml.h"
#include "pages/shared/look.h"
#include "presentation/gelv/cipu/cipubrowsermodel.h"
#include "prosody/ci/cipu.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

CipuBrowser::CipuBrowser(CipuBrowserModel *model, QWidget *parent)
    : QDialog(parent, Qt::Window)
    , m_model(model)
{
    setObjectName(QStringLiteral("Cipu"));
    setWindowTitle(QStringLiteral("词谱"));
    resize(900, 640);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("Cipu_Filter"));
    m_filter->setPlaceholderText(QStringLiteral("调名或又名"));
    m_filter->setClearButtonEnabled(true);
    m_juan = new QComboBox(this);
    m_juan->setObjectName(QStringLiteral("Cipu_Juan"));
    m_characters = new QSpinBox(this);
    m_characters->setObjectName(QStringLiteral("Cipu_Characters"));
    m_characters->setRange(0, 300);
    m_characters->setSpecialValueText(QStringLiteral("字数不限"));
    m_characters->setSuffix(QStringLiteral(" 字"));
    auto *bar = new QHBoxLayout;
    bar->addWidget(m_filter, 1);
    bar->addWidget(m_juan);
    bar->addWidget(m_characters);

    m_tunes = new QListView(this);
    m_tunes->setObjectName(QStringLiteral("Cipu_Tunes"));
    m_tunes->setModel(m_model);
    m_tunes->setFont(look::songFont());
    m_forms = new QListWidget(this);
    m_forms->setObjectName(QStringLiteral("Cipu_Forms"));
    m_forms->setFont(look::songFont());
    m_sheet = new QTextBrowser(this);
    m_sheet->setObjectName(QStringLiteral("Cipu_Sheet"));
    m_sheet->setFont(look::songFont());
    m_fill = new QPushButton(QStringLiteral("按此体填词"), this);
    m_fill->setObjectName(QStringLiteral("Cipu_Fill"));
    m_fill->setToolTip(QStringLiteral("以调名为题开始新稿，并在格律窗口按此体检查"));

    auto *left = new QSplitter(Qt::Vertical);
    left->addWidget(m_tunes);
    left->addWidget(m_forms);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 2);
    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(m_sheet, 1);
    rightLayout->addWidget(m_fill, 0, Qt::AlignRight);
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    fillJuans();
    connect(m_filter, &QLineEdit::textChanged, m_model, &CipuBrowserModel::setFilter);
    connect(m_juan, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_model->setJuan(m_juan->itemData(i).toInt()); });
    connect(m_characters, &QSpinBox::valueChanged, m_model, &CipuBrowserModel::setCharacters);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CipuBrowser::showFirst);
    connect(m_tunes->selectionModel(), &QItemSelectionModel::currentChanged, this, &CipuBrowser::showForms);
    connect(m_forms, &QListWidget::currentRowChanged, this, &CipuBrowser::showSheet);
    connect(m_fill, &QPushButton::clicked, this, [this] {
        const CiFormSheet sheet = m_model->sheet(currentTune(), m_forms->currentRow());
        if (!sheet.ref.tune.isEmpty())
            emit formChosen(sheet.ref);
    });
    showFirst();
}

// The list narrowed or read anew: its first 调, if any.
void CipuBrowser::showFirst()
{
    if (m_model->rowCount() > 0)
        m_tunes->setCurrentIndex(m_model->index(0));
    showForms();
}

void CipuBrowser::fillJuans()
{
    const int chosen = m_juan->currentData().toInt();
    m_juan->clear();
    m_juan->addItem(QStringLiteral("全部卷"), 0);
    for (int juan : m_model->juans())
        m_juan->addItem(juanName(juan), juan);
    m_juan->addItem(juanName(0), -1);
    m_juan->setCurrentIndex(std::max(0, m_juan->findData(chosen)));
}

void CipuBrowser::showTune(const QString &name)
{
    if (m_model->rowOf(name) < 0) {
        m_filter->clear();
        m_juan->setCurrentIndex(0);
        m_characters->setValue(0);
    }
    const int row = m_model->rowOf(name);
    if (row >= 0)
        m_tunes->setCurrentIndex(m_model->index(row));
}

int CipuBrowser::currentTune() const
{
    return m_tunes->currentIndex().row();
}

void CipuBrowser::showForms()
{
    m_forms->clear();
    m_forms->addItems(m_model->formNames(currentTune()));
    if (m_forms->count() > 0)
        m_forms->setCurrentRow(0);
    showSheet();
}

void CipuBrowser::showSheet()
{
    const CiFormSheet sheet = m_model->sheet(currentTune(), m_forms->currentRow());
    m_fill->setEnabled(!sheet.ref.tune.isEmpty());
    if (sheet.ref.tune.isEmpty())
        m_sheet->setPlainText(m_model->isEmpty() ? QStringLiteral("词谱未能读入，原因见格律窗口上方的说明。")
                                                 : QStringLiteral("没有合乎条件的调。"));
    else
        m_sheet->setHtml(cipuSheetHtml(sheet));
}
