// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/about/aboutpage.h"

#include "pages/about/picture.h"
#include "pages/shared/guard.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "presentation/aboutmodel.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTextEdit>

std::function<void(const QUrl &)> AboutPage::openAddress = [](const QUrl &url) {
    QDesktopServices::openUrl(url);
};

AboutPage::AboutPage(AboutModel *model, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    m_model->setParent(this);
    setObjectName(QStringLiteral("About"));
    resize(784, 518);
    connect(m_model, &AboutModel::statusChanged, status, &StatusBar::setPanelText);

    Panel3 = new QLabel(QStringLiteral("软件架构基本完成，更多功能日后完善"), this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->setFont(look::songFont());
    look::setTextColor(Panel3, look::purple);
    Panel3->setGeometry(0, 0, 784, 40);

    About_RichEdit = new QTextEdit(this);
    About_RichEdit->setObjectName(QStringLiteral("About_RichEdit"));
    About_RichEdit->setGeometry(0, 40, 679, 478);
    About_RichEdit->setFont(look::songFont());
    About_RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    About_RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    About_RichEdit->setLineWrapMode(QTextEdit::WidgetWidth);
    QPalette palette = About_RichEdit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
    About_RichEdit->setPalette(palette);
    About_RichEdit->setPlainText(AboutModel::lines().join(u'\n'));

    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel4->setGeometry(679, 40, 105, 478);

    const auto picture = [this](const char *name, const char *file, int top) {
        const QString objectName = QString::fromLatin1(name);
        return new Picture(Panel4, objectName, QStringLiteral(":/badges/%1").arg(QLatin1String(file)), 6, top,
                           !AboutModel::addressOf(objectName).isEmpty());
    };
    Image1 = picture("Image1", "poetry.jpg", 12);
    Image9 = picture("Image9", "pinyin.jpg", 53);
    Image2 = picture("Image2", "cnchar.jpg", 95);
    Image3 = picture("Image3", "opencc.jpg", 137);
    Image4 = picture("Image4", "ucd.jpg", 178);
    Image6 = picture("Image6", "unicode.jpg", 220);
    Image7 = picture("Image7", "unihan.jpg", 262);
    Image8 = picture("Image8", "shihai.jpg", 303);
    Image12 = picture("Image12", "shihai.jpg", 345);
    Image10 = picture("Image10", "shihai.jpg", 387);
    Image5 = picture("Image5", "shihai.jpg", 429);

    // Only seven of the eleven pictures open a page; the other four take no clicks.
    connectGuarded(Image1, &Picture::clicked, this, [this] { Image1Click(); });
    connectGuarded(Image9, &Picture::clicked, this, [this] { Image9Click(); });
    connectGuarded(Image2, &Picture::clicked, this, [this] { Image2Click(); });
    connectGuarded(Image3, &Picture::clicked, this, [this] { Image3Click(); });
    connectGuarded(Image4, &Picture::clicked, this, [this] { Image4Click(); });
    connectGuarded(Image6, &Picture::clicked, this, [this] { Image6Click(); });
    connectGuarded(Image7, &Picture::clicked, this, [this] { Image7Click(); });
}

void AboutPage::open(const Picture *picture)
{
    openAddress(AboutModel::addressOf(picture->objectName()));
}

void AboutPage::AboutShow()
{
    m_model->show();
}

void AboutPage::Image1Click()
{
    open(Image1);
}

void AboutPage::Image9Click()
{
    open(Image9);
}

void AboutPage::Image2Click()
{
    open(Image2);
}

void AboutPage::Image3Click()
{
    open(Image3);
}

void AboutPage::Image4Click()
{
    open(Image4);
}

void AboutPage::Image6Click()
{
    open(Image6);
}

void AboutPage::Image7Click()
{
    open(Image7);
}
