// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/page.h"

#include <QUrl>
#include <QWidget>

#include <functional>

class AboutModel;
class Picture;
class QFrame;
class QLabel;
class QTextEdit;
class StatusBar;

// 关于软件: the program's information and a column of pictures, seven of which open a web page
// about the data the dictionary is built from. The text and the addresses are AboutModel's; the page
// takes `model` as its child.
class AboutPage : public QWidget, public Page {
    Q_OBJECT
public:
    AboutPage(AboutModel *model, StatusBar *status, QWidget *parent = nullptr);

    void shown() override { AboutShow(); }

    void AboutShow();
    void Image1Click();
    void Image9Click();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void Image6Click();
    void Image7Click();

    // Hands an address to the desktop's browser; the result is ignored. Replaceable for tests.
    static std::function<void(const QUrl &)> openAddress;

private:
    void open(const Picture *picture);

    AboutModel *m_model;
    QLabel *Panel3;
    QFrame *Panel4;
    QTextEdit *About_RichEdit;
    Picture *Image1;
    Picture *Image9;
    Picture *Image2;
    Picture *Image3;
    Picture *Image4;
    Picture *Image6;
    Picture *Image7;
    Picture *Image8;
    Picture *Image12;
    Picture *Image10;
    Picture *Image5;
};
